#include "likelihood/BootstrapReplicate.h"

#include "likelihood/CompiledFormula.h"
#include "model/ModelDefinition.h"
#include "optim/NRError.h"

#include <boost/random/binomial_distribution.hpp>
#include <boost/random/mersenne_twister.hpp>
#include <boost/random/normal_distribution.hpp>

#include <cmath>
#include <limits>

namespace pelk {

namespace {

double valueAt(const zav::Equation *formula, const std::vector<double> &estimates)
{
    if (!formula)
        return std::numeric_limits<double>::quiet_NaN();
    return CompiledFormula(*formula, int(estimates.size())).value(estimates);
}

// SplitMix64: the golden-ratio increment, then its finaliser.
std::uint64_t mix(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

} // namespace

BootstrapReplicate::BootstrapReplicate(const ModelDefinition &model, const QMap<QString, int> &categoryCounts,
                                       const std::vector<double> &estimates)
{
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        Likelihood likelihood;
        likelihood.position = position;
        if (!model.isMultinomial(id)) {
            likelihood.normal = true;
            likelihood.expected = valueAt(model.expectedEquation(id), estimates);
            likelihood.standardError = valueAt(model.standardErrorEquation(id), estimates);
            if (!std::isfinite(likelihood.expected) || !(likelihood.standardError > 0.0)
                || !std::isfinite(likelihood.standardError))
                throw NR3::NRError("Cannot simulate a normal likelihood without a positive standard error");
            m_likelihoods.push_back(std::move(likelihood));
            continue;
        }
        const int categoryCount = model.categoryCount(id);
        std::vector<double> probabilities;
        qint64 observedTotal = 0;
        for (int i = 0; i < categoryCount; ++i) {
            likelihood.labels << model.categoryLabel(id, i);
            probabilities.push_back(valueAt(model.categoryEquation(id, i), estimates));
            observedTotal += categoryCounts.value(likelihood.labels.back(), 0);
        }
        likelihood.hasUnobserved = model.hasUnobservedCategory(id);
        if (likelihood.hasUnobserved) {
            probabilities.push_back(valueAt(model.categoryEquation(id, categoryCount), estimates));
            const double abundance = valueAt(model.abundanceSymbol(id), estimates);
            if (!std::isfinite(abundance) || abundance < 0.0 || abundance > std::numeric_limits<int>::max())
                throw NR3::NRError("Cannot simulate a likelihood whose abundance is not a count");
            likelihood.total = int(std::lround(abundance));
            likelihood.abundanceParameter = int(model.parameterNames().indexOf(model.abundanceSymbolName(id)));
        } else {
            if (observedTotal > std::numeric_limits<int>::max())
                throw NR3::NRError("Cannot simulate a likelihood whose total exceeds the count range");
            likelihood.total = int(observedTotal);
        }
        // Tail sums from the last category back, so that each chain
        // probability is a ratio of two sums and not a difference.
        likelihood.chainProbabilities.resize(probabilities.size());
        double tail = 0.0;
        for (std::size_t i = probabilities.size(); i-- > 0;) {
            const double p = probabilities[i];
            if (!std::isfinite(p) || p < 0.0)
                throw NR3::NRError("Cannot simulate a likelihood whose probabilities are not a distribution");
            tail += p;
            likelihood.chainProbabilities[i] = tail > 0.0 ? std::min(1.0, p / tail) : 0.0;
        }
        if (!(tail > 0.0))
            throw NR3::NRError("Cannot simulate a likelihood whose probabilities are not a distribution");
        m_likelihoods.push_back(std::move(likelihood));
    }
}

std::uint64_t BootstrapReplicate::streamSeed(std::uint64_t seed, int replicate)
{
    return mix(mix(seed) + std::uint64_t(replicate));
}

BootstrapReplicate::Data BootstrapReplicate::draw(std::uint64_t seed, int replicate) const
{
    boost::random::mt19937_64 engine(streamSeed(seed, replicate));
    Data data;
    for (const Likelihood &likelihood : m_likelihoods) {
        if (likelihood.normal) {
            const double z = boost::random::normal_distribution<double>(0.0, 1.0)(engine);
            data.normalObservations.emplace_back(likelihood.position,
                                                 likelihood.expected + likelihood.standardError * z);
            continue;
        }
        int left = likelihood.total;
        std::int64_t seen = 0;
        const int regular = int(likelihood.labels.size());
        const int last = int(likelihood.chainProbabilities.size()) - 1;
        for (int i = 0; i <= last; ++i) {
            int count = left;
            if (i < last && left > 0)
                count = boost::random::binomial_distribution<int, double>(left,
                                                                          likelihood.chainProbabilities[std::size_t(i)])(engine);
            left -= count;
            if (i < regular) {
                data.counts.insert(likelihood.labels.at(i), count);
                seen += count;
            }
        }
        if (likelihood.hasUnobserved && likelihood.abundanceParameter >= 0)
            data.abundanceTotals.emplace_back(likelihood.abundanceParameter, seen);
    }
    return data;
}

} // namespace pelk
