// The data of one parametric bootstrap replicate: a study simulated from
// the fitted model.
//
// The fitted distribution is taken once, at construction, from the model's
// formulas at the estimates:
// - a multinomial likelihood keeps its observed total n and draws n over
//   its categories with the probabilities p_i / sum_j p_j;
// - a multinomial likelihood with an unobserved category draws round(N)
//   (N its abundance at the estimates) over its categories and the
//   unobserved one, whose count is then dropped: what a study of N animals
//   would have seen;
// - a normal likelihood observes e + s z, e and s its expected value and
//   standard error at the estimates, z standard normal.
// A multinomial draw is a chain of binomials: category i receives
// Binomial(n left, p_i / (p_i + ... + p_last)), the last one what is left,
// so the counts always add up to the total exactly.
//
// Replicate i of seed S reads its own Mersenne Twister stream
// (boost::random::mt19937_64) seeded with streamSeed(S, i), and draws the
// likelihoods in list order, categories in category order. A replicate is
// therefore the same whichever thread, process or machine draws it, and
// however a run is split into shards (for one build: the Boost
// distributions are not promised to be stable across Boost versions).
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace pelk {

class ModelDefinition;

class BootstrapReplicate
{
public:
    struct Data
    {
        // A count for every regular category of every multinomial likelihood.
        QMap<QString, int> counts;
        // (list position, simulated observation) of each normal likelihood.
        std::vector<std::pair<int, double>> normalObservations;
        // (parameter index, total seen) of each likelihood with an
        // unobserved category whose abundance is a parameter.
        std::vector<std::pair<int, std::int64_t>> abundanceTotals;
    };

    // `model` must be validated; evaluates compiled copies of its formulas,
    // never the trees. Throws NR3::NRError when a likelihood's probabilities
    // at the estimates are not a distribution (negative, not finite, or
    // adding up to nothing), when an abundance is not finite, or when a
    // standard error is not positive.
    BootstrapReplicate(const ModelDefinition &model, const QMap<QString, int> &categoryCounts,
                       const std::vector<double> &estimates);

    // The seed of replicate i's stream: SplitMix64's finaliser applied to
    // mix(S) + i, so that neighbouring seeds and replicate numbers give
    // unrelated streams.
    static std::uint64_t streamSeed(std::uint64_t seed, int replicate);

    Data draw(std::uint64_t seed, int replicate) const;

private:
    struct Likelihood
    {
        int position = 0;
        bool normal = false;
        // Multinomial: labels of the regular categories, and for each
        // category (the unobserved one last, when there is one) the chance
        // p_i / (p_i + ... + p_last) of the binomial chain.
        QStringList labels;
        std::vector<double> chainProbabilities;
        int total = 0;
        bool hasUnobserved = false;
        int abundanceParameter = -1;
        // Normal.
        double expected = 0.0;
        double standardError = 0.0;
    };

    std::vector<Likelihood> m_likelihoods;
};

} // namespace pelk
