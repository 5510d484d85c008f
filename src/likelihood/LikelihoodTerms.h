// The model's likelihoods as the objective sees them: the data (category
// counts) with the constants they determine, and for each probability,
// abundance or normal quantity the index of its formula in formulas().
// The arithmetic of the log-likelihood is written once, here, over any
// source of formula values: the compiled program's slots in every run, the
// formula trees themselves where they are the reference.
//
// The model's log-likelihood is the sum of its likelihoods' log-likelihoods:
// - normal: log(1/s) - z^2/2 with z = (o - e)/s (the constant -log(2 pi)/2
//   is left out);
// - multinomial: log(n!/prod n_j!) + sum over n_j > 0 of n_j log p_j;
// - multinomial with an unobserved category of abundance N: the same with
//   the unobserved count u = N - n, i.e. log(N!/(u! prod n_j!)) +
//   sum over n_j > 0 of n_j log p_j + u log p_0.
// A point that cannot be used (an abundance below the observed total, a NaN
// log-likelihood, a probability above 1 + 1e-12 for a category with a
// positive count or for the unobserved category while u > 0, a missing
// formula) gives the largest finite double; the optimizers treat it as a
// very bad point. A probability of 0 where a count is positive gives
// +infinity, not the cap.
#pragma once

#include "likelihood/Gammln.h"
#include "likelihood/GoodnessOfFit.h"
#include "optim/Func.h"

#include <QMap>
#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace zav {
class Equation;
}

namespace pelk {

class ModelDefinition;

class LikelihoodTerms
{
public:
    // A category label without an entry in counts counts 0. Throws
    // NR3::NRError "bad arg in gammln" for a negative count.
    LikelihoodTerms(const ModelDefinition &model, const QMap<QString, int> &categoryCounts);

    // Every formula a likelihood names, in likelihood and category order;
    // a missing formula has no entry (its index is -1 below).
    const std::vector<const zav::Equation *> &formulas() const { return m_formulas; }
    // False for the formulas of categories with a zero count: their values
    // never reach the log-likelihood (a zero or NaN probability there is
    // harmless), so they need not be computed.
    bool isRead(int formula) const { return m_read[std::size_t(formula)]; }

    int likelihoodCount() const { return int(m_likelihoods.size()); }

    // Replaces the observed formula of the normal likelihood at list
    // position `position` by a value (a simulated observation: the formula
    // of the data would give the data's own value at every point).
    void setObservedValue(int position, double value);

    // `value(k)` is the value of formula k at the point.
    template<typename Values>
    double negativeLogLikelihood(const Values &value) const;
    // The negated log-likelihood of the likelihood at list position
    // `position`, with the guards of the whole objective.
    template<typename Values>
    double likelihoodObjective(int position, const Values &value) const;
    // Calls addSeed(k, d) with d the partial derivative of the objective by
    // the value of formula k (several calls for one k add up), at a point
    // where the objective is usable.
    template<typename Values, typename AddSeed>
    void addGradientSeeds(const Values &value, AddSeed addSeed) const;

    // The cells of the goodness of fit at the point of `value`: every
    // regular category of each multinomial likelihood, zero counts
    // included, and each normal likelihood's z. `isConstant(k)` says whether
    // formula k depends on no parameter; a formula without a value is NaN.
    template<typename Values, typename IsConstant>
    GoodnessOfFit goodnessOfFit(const Values &value, IsConstant isConstant, int freeParameters) const;

    // The abundance formulas of the likelihoods with an unobserved category.
    std::vector<int> abundanceFormulas() const;

    // n: the observed totals of the multinomial likelihoods (with an
    // unobserved category, the number observed, not the abundance) plus 1
    // for each normal likelihood.
    double sampleSize() const;

private:
    struct Likelihood
    {
        enum class Kind { Normal, Multinomial, WithUnobservedCategory };
        Kind kind = Kind::Normal;
        QString name;
        // Regular categories with a positive count, in category order, and
        // the formula of each one's probability.
        std::vector<double> counts;
        std::vector<int> probabilities;
        // Every regular category, zero counts included, for the goodness
        // of fit.
        std::vector<double> allCounts;
        std::vector<int> allProbabilities;
        // Without an unobserved category: log n! - sum log n_j!.
        double multinomialConstant = 0.0;
        // With an unobserved category: sum log n_j!.
        double sumOfCountLogFactorials = 0.0;
        double totalObserved = 0.0; // n = sum n_j
        int unobserved = -1;
        int abundance = -1;
        // A normal likelihood's formulas.
        int observed = -1;
        int expected = -1;
        int standardError = -1;
        // Set by setObservedValue: then observedValue stands for the formula.
        bool observedIsValue = false;
        double observedValue = 0.0;
    };

    template<typename Values>
    static double observedOf(const Likelihood &likelihood, const Values &value)
    {
        return likelihood.observedIsValue ? likelihood.observedValue : value(likelihood.observed);
    }

    int addFormula(const zav::Equation *equation, bool read);

    template<typename Values>
    double logLikelihood(const Likelihood &likelihood, const Values &value, bool &invalid) const;
    template<typename Values>
    static double addCategoryTerms(double logLikelihoodValue, const Likelihood &likelihood, const Values &value,
                                   bool &invalid);

    // A probability above 1 is outside the model: its positive log-term
    // would reward leaving the domain (a multinomial log-likelihood is never
    // positive). The margin lets through what rounding adds to a
    // probability that is 1 in exact arithmetic (1 - q + q, sums of
    // products), a few units in the last place, and nothing a model could
    // mean; within it the probability counts as 1, so that no optimizer
    // gains by creeping into it.
    static constexpr double probabilityRoundingMargin = 1e-12;
    static bool exceedsOne(double probability) { return probability > 1.0 + probabilityRoundingMargin; }
    static double logOfProbability(double probability) { return std::log(std::min(probability, 1.0)); }
    // d log(min(p, 1)) / dp.
    static double logOfProbabilitySlope(double probability) { return probability > 1.0 ? 0.0 : 1.0 / probability; }

    std::vector<Likelihood> m_likelihoods;
    std::vector<const zav::Equation *> m_formulas;
    std::vector<bool> m_read;
};

template<typename Values>
double LikelihoodTerms::negativeLogLikelihood(const Values &value) const
{
    double total = 0.0;
    bool invalid = false;
    for (const Likelihood &likelihood : m_likelihoods) {
        total += logLikelihood(likelihood, value, invalid);
        if (invalid)
            return zav::Func::unusable;
    }
    // An infinite total (a zero probability with a positive count) is a
    // legitimate +infinity objective; only NaN is unusable.
    if (std::isnan(total))
        return zav::Func::unusable;
    return -total;
}

template<typename Values>
double LikelihoodTerms::likelihoodObjective(int position, const Values &value) const
{
    bool invalid = false;
    const double logLikelihoodValue = logLikelihood(m_likelihoods.at(std::size_t(position)), value, invalid);
    if (invalid || std::isnan(logLikelihoodValue))
        return zav::Func::unusable;
    return -logLikelihoodValue;
}

template<typename Values>
double LikelihoodTerms::logLikelihood(const Likelihood &likelihood, const Values &value, bool &invalid) const
{
    switch (likelihood.kind) {
    case Likelihood::Kind::Normal: {
        if (likelihood.standardError < 0 || (likelihood.observed < 0 && !likelihood.observedIsValue)
            || likelihood.expected < 0) {
            invalid = true;
            return 0.0;
        }
        const double s = value(likelihood.standardError);
        const double z = (observedOf(likelihood, value) - value(likelihood.expected)) / s;
        return std::log(1.0 / s) - 0.5 * z * z;
    }
    case Likelihood::Kind::Multinomial:
        return addCategoryTerms(likelihood.multinomialConstant, likelihood, value, invalid);
    case Likelihood::Kind::WithUnobservedCategory: {
        // Null when the abundance name no longer names a parameter or
        // function: every point is then unusable.
        if (likelihood.abundance < 0 || likelihood.unobserved < 0) {
            invalid = true;
            return 0.0;
        }
        double logLikelihoodValue = -likelihood.sumOfCountLogFactorials;
        const double abundanceValue = value(likelihood.abundance);
        const double unobservedCount = abundanceValue - likelihood.totalObserved;
        if (unobservedCount < 0.0) {
            invalid = true;
            return 0.0;
        }
        logLikelihoodValue
            = logLikelihoodValue - zav::gammln(unobservedCount + 1.0) + zav::gammln(abundanceValue + 1.0);
        logLikelihoodValue = addCategoryTerms(logLikelihoodValue, likelihood, value, invalid);
        if (invalid)
            return 0.0;
        // Added also when u = 0: a zero unobserved probability then gives
        // 0 log 0 = NaN, which marks the point unusable.
        const double p0 = value(likelihood.unobserved);
        if (unobservedCount > 0.0 && exceedsOne(p0)) {
            invalid = true;
            return 0.0;
        }
        return logLikelihoodValue + unobservedCount * logOfProbability(p0);
    }
    }
    return 0.0;
}

template<typename Values>
double LikelihoodTerms::addCategoryTerms(double logLikelihoodValue, const Likelihood &likelihood,
                                         const Values &value, bool &invalid)
{
    for (std::size_t i = 0; i < likelihood.counts.size(); ++i) {
        if (likelihood.probabilities[i] < 0) {
            invalid = true;
            return 0.0;
        }
        const double p = value(likelihood.probabilities[i]);
        if (exceedsOne(p)) {
            invalid = true;
            return 0.0;
        }
        logLikelihoodValue += likelihood.counts[i] * logOfProbability(p);
    }
    return logLikelihoodValue;
}

// The objective is -LL, so each derivative is the negated one of LL:
//   n_j log p_j: n_j / p_j;   u log p_0: u / p_0 (0 above 1, where the
//   probability counts as 1);
//   log N! - log u! + u log p_0 with u = N - n, by N:
//     psi(N + 1) - psi(u + 1) + log p_0 (psi, the digamma function, is
//     the derivative of log-gamma);
//   log(1/s) - z^2/2 with z = (o - e)/s: by o -z/s, by e z/s,
//     by s (z^2 - 1)/s.
template<typename Values, typename AddSeed>
void LikelihoodTerms::addGradientSeeds(const Values &value, AddSeed addSeed) const
{
    for (const Likelihood &likelihood : m_likelihoods) {
        if (likelihood.kind == Likelihood::Kind::Normal) {
            const double s = value(likelihood.standardError);
            const double z = (observedOf(likelihood, value) - value(likelihood.expected)) / s;
            if (!likelihood.observedIsValue)
                addSeed(likelihood.observed, z / s);
            addSeed(likelihood.expected, -z / s);
            addSeed(likelihood.standardError, -(z * z - 1.0) / s);
            continue;
        }
        for (std::size_t i = 0; i < likelihood.counts.size(); ++i)
            addSeed(likelihood.probabilities[i],
                    -likelihood.counts[i] * logOfProbabilitySlope(value(likelihood.probabilities[i])));
        if (likelihood.kind == Likelihood::Kind::WithUnobservedCategory) {
            const double abundanceValue = value(likelihood.abundance);
            const double unobservedCount = abundanceValue - likelihood.totalObserved;
            const double p0 = value(likelihood.unobserved);
            addSeed(likelihood.abundance, -(zav::digamma(abundanceValue + 1.0)
                                            - zav::digamma(unobservedCount + 1.0)
                                            + logOfProbability(p0)));
            addSeed(likelihood.unobserved, -unobservedCount * logOfProbabilitySlope(p0));
        }
    }
}

template<typename Values, typename IsConstant>
GoodnessOfFit LikelihoodTerms::goodnessOfFit(const Values &value, IsConstant isConstant,
                                             int freeParameters) const
{
    const auto valueOf = [&](int formula) {
        return formula < 0 ? std::numeric_limits<double>::quiet_NaN() : double(value(formula));
    };
    std::vector<GoodnessOfFit::MultinomialCells> multinomials;
    std::vector<GoodnessOfFit::NormalCell> normals;
    for (const Likelihood &likelihood : m_likelihoods) {
        if (likelihood.kind == Likelihood::Kind::Normal) {
            const double z = (observedOf(likelihood, valueOf) - valueOf(likelihood.expected))
                / valueOf(likelihood.standardError);
            normals.push_back(
                {likelihood.name, z, likelihood.standardError >= 0 && isConstant(likelihood.standardError)});
            continue;
        }
        GoodnessOfFit::MultinomialCells cells {likelihood.name, likelihood.allCounts, {}};
        cells.probability.reserve(likelihood.allProbabilities.size());
        for (const int formula : likelihood.allProbabilities)
            cells.probability.push_back(valueOf(formula));
        multinomials.push_back(std::move(cells));
    }
    return GoodnessOfFit::compute(multinomials, normals, freeParameters);
}

} // namespace pelk
