// The outcome of a parametric bootstrap of a fit, or of one shard of it:
// the deviance and Pearson X^2 of every refitted replicate beside those of
// the observed data. Computed once; the command line, the JSON files, the
// desktop page and the report all render this record.
//
// With D the observed statistic and D*_1..D*_b those of the b replicates
// that refitted, failed replicates left out (and counted):
//   p-value  (1 + #{D* >= D}) / (b + 1): the observed data counted as one
//            draw of the model, so that it is never 0;
//   c-hat    D / mean(D*): the overdispersion the observed data show
//            beyond what the fitted model itself produces.
// The same two for X^2. A shard holds the contiguous block of replicate
// numbers firstReplicate(I, M, B) .. lastReplicate(I, M, B); its
// statistics are those of its own replicates.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace pelk {

struct BootstrapResult
{
    struct Replicate
    {
        int replicate = 0; // 1 .. totalReplicates
        bool failed = false; // not refitted, or its statistics not available
        double deviance = 0.0; // meaningful only when not failed
        double pearson = 0.0;

        bool operator==(const Replicate &other) const;
    };

    std::uint64_t seed = 0;
    int totalReplicates = 0; // B of the whole run
    int shardIndex = 1; // 1-based
    int shardCount = 1;
    QString dataFingerprint;
    std::optional<double> observedDeviance;
    std::optional<double> observedPearson;
    std::vector<Replicate> results; // in replicate order

    int replicates() const { return int(results.size()); }
    int failed() const;
    std::optional<double> bootstrapPValue() const { return pValue(observedDeviance, &Replicate::deviance); }
    std::optional<double> bootstrapChat() const { return chat(observedDeviance, &Replicate::deviance); }
    std::optional<double> bootstrapPearsonPValue() const { return pValue(observedPearson, &Replicate::pearson); }
    std::optional<double> bootstrapPearsonChat() const { return chat(observedPearson, &Replicate::pearson); }

    // The block of shard `index` of `count` (both 1-based): replicates
    // floor((index-1) B / count) + 1 .. floor(index B / count).
    static int firstReplicate(int index, int count, int total);
    static int lastReplicate(int index, int count, int total);

    bool operator==(const BootstrapResult &other) const;

private:
    std::optional<double> pValue(const std::optional<double> &observed, double Replicate::*statistic) const;
    std::optional<double> chat(const std::optional<double> &observed, double Replicate::*statistic) const;
};

} // namespace pelk
