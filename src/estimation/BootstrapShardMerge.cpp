#include "estimation/BootstrapShardMerge.h"

#include <algorithm>

namespace pelk {

namespace {

// What differs between two shards' definitions of the run, or nothing.
QString difference(const BootstrapResult &a, const BootstrapResult &b)
{
    if (a.seed != b.seed)
        return QStringLiteral("seed %1, not %2").arg(b.seed).arg(a.seed);
    if (a.totalReplicates != b.totalReplicates)
        return QStringLiteral("%1 replicates in all, not %2").arg(b.totalReplicates).arg(a.totalReplicates);
    if (a.dataFingerprint != b.dataFingerprint)
        return QStringLiteral("data fingerprint %1, not %2").arg(b.dataFingerprint, a.dataFingerprint);
    // Exact comparison: the same data and the same fit give the same bits.
    if (a.observedDeviance != b.observedDeviance || a.observedPearson != b.observedPearson)
        return QStringLiteral("other observed statistics");
    return {};
}

QString range(int first, int last)
{
    return first == last ? QString::number(first) : QStringLiteral("%1-%2").arg(first).arg(last);
}

} // namespace

std::optional<BootstrapResult> BootstrapShardMerge::merge(const QList<Shard> &shards, QString &error)
{
    if (shards.isEmpty()) {
        error = QStringLiteral("no shards to merge");
        return std::nullopt;
    }
    const Shard &reference = shards.first();
    QList<const Shard *> ordered;
    for (const Shard &shard : shards) {
        const BootstrapResult &r = shard.result;
        const QString differs = difference(reference.result, r);
        if (!differs.isEmpty()) {
            error = QStringLiteral("%1 is a shard of another run than %2 (%3)")
                        .arg(shard.fileName, reference.fileName, differs);
            return std::nullopt;
        }
        const int first = BootstrapResult::firstReplicate(r.shardIndex, r.shardCount, r.totalReplicates);
        const int last = BootstrapResult::lastReplicate(r.shardIndex, r.shardCount, r.totalReplicates);
        bool holdsItsBlock = r.replicates() == last - first + 1;
        for (int k = 0; holdsItsBlock && k < r.replicates(); ++k)
            holdsItsBlock = r.results[std::size_t(k)].replicate == first + k;
        if (!holdsItsBlock) {
            error = QStringLiteral("%1 does not hold the replicates %2 of shard %3/%4")
                        .arg(shard.fileName, range(first, last))
                        .arg(r.shardIndex)
                        .arg(r.shardCount);
            return std::nullopt;
        }
        ordered.append(&shard);
    }
    // Empty blocks (more shards than replicates) cover nothing and are left
    // out of the order.
    ordered.erase(std::remove_if(ordered.begin(), ordered.end(),
                                 [](const Shard *s) { return s->result.results.empty(); }),
                  ordered.end());
    std::stable_sort(ordered.begin(), ordered.end(), [](const Shard *a, const Shard *b) {
        return a->result.results.front().replicate < b->result.results.front().replicate;
    });

    BootstrapResult merged = reference.result;
    merged.shardIndex = 1;
    merged.shardCount = 1;
    merged.results.clear();
    merged.results.reserve(std::size_t(std::max(0, merged.totalReplicates)));
    const auto missing = [&](int first, int last) {
        // Name the shard when the gap is exactly one of the reference's blocks.
        const int count = reference.result.shardCount;
        for (int index = 1; index <= count; ++index)
            if (BootstrapResult::firstReplicate(index, count, merged.totalReplicates) == first
                && BootstrapResult::lastReplicate(index, count, merged.totalReplicates) == last)
                return QStringLiteral("shard %1/%2 is missing (replicates %3)").arg(index).arg(count).arg(range(first, last));
        return QStringLiteral("replicates %1 are in none of the shards").arg(range(first, last));
    };
    int next = 1;
    const Shard *previous = nullptr;
    for (const Shard *shard : std::as_const(ordered)) {
        const int first = shard->result.results.front().replicate;
        const int last = shard->result.results.back().replicate;
        if (first < next) {
            error = QStringLiteral("%1 repeats replicates %2 of %3")
                        .arg(shard->fileName, range(first, std::min(last, next - 1)), previous->fileName);
            return std::nullopt;
        }
        if (first > next) {
            error = missing(next, first - 1);
            return std::nullopt;
        }
        merged.results.insert(merged.results.end(), shard->result.results.begin(), shard->result.results.end());
        next = last + 1;
        previous = shard;
    }
    if (next <= merged.totalReplicates) {
        error = missing(next, merged.totalReplicates);
        return std::nullopt;
    }
    return merged;
}

} // namespace pelk
