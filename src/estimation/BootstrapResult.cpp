#include "estimation/BootstrapResult.h"

#include <algorithm>

namespace pelk {

bool BootstrapResult::Replicate::operator==(const Replicate &other) const
{
    return replicate == other.replicate && failed == other.failed
        && (failed || (deviance == other.deviance && pearson == other.pearson));
}

bool BootstrapResult::operator==(const BootstrapResult &other) const
{
    return seed == other.seed && totalReplicates == other.totalReplicates && shardIndex == other.shardIndex
        && shardCount == other.shardCount && dataFingerprint == other.dataFingerprint
        && observedDeviance == other.observedDeviance && observedPearson == other.observedPearson
        && results == other.results;
}

int BootstrapResult::failed() const
{
    return int(std::count_if(results.begin(), results.end(), [](const Replicate &r) { return r.failed; }));
}

int BootstrapResult::firstReplicate(int index, int count, int total)
{
    return int(std::int64_t(index - 1) * total / count) + 1;
}

int BootstrapResult::lastReplicate(int index, int count, int total)
{
    return int(std::int64_t(index) * total / count);
}

std::optional<double> BootstrapResult::pValue(const std::optional<double> &observed,
                                              double Replicate::*statistic) const
{
    if (!observed)
        return std::nullopt;
    int refitted = 0;
    int atLeastObserved = 0;
    for (const Replicate &replicate : results) {
        if (replicate.failed)
            continue;
        ++refitted;
        if (replicate.*statistic >= *observed)
            ++atLeastObserved;
    }
    if (refitted == 0)
        return std::nullopt;
    return (1.0 + atLeastObserved) / (refitted + 1.0);
}

std::optional<double> BootstrapResult::chat(const std::optional<double> &observed,
                                            double Replicate::*statistic) const
{
    if (!observed)
        return std::nullopt;
    int refitted = 0;
    double sum = 0.0;
    for (const Replicate &replicate : results) {
        if (!replicate.failed) {
            ++refitted;
            sum += replicate.*statistic;
        }
    }
    if (refitted == 0 || !(sum > 0.0))
        return std::nullopt;
    return *observed / (sum / refitted);
}

} // namespace pelk
