#include "likelihood/PelkLikelihoodFunc.h"

#include "likelihood/Gammln.h"
#include "model/ModelDefinition.h"

#include <algorithm>
#include <cmath>

namespace pelk {

namespace {

// A probability above 1 is outside the model: its positive log-term would
// reward leaving the domain (a multinomial log-likelihood is never
// positive). The margin lets through what rounding adds to a probability
// that is 1 in exact arithmetic (1 - q + q, sums of products), a few units
// in the last place, and nothing a model could mean; within it the
// probability counts as 1, so that no optimizer gains by creeping into it.
constexpr double probabilityRoundingMargin = 1e-12;

bool exceedsOne(double probability)
{
    return probability > 1.0 + probabilityRoundingMargin;
}

double logOfProbability(double probability)
{
    return std::log(std::min(probability, 1.0));
}

} // namespace

double PelkLikelihoodFuncBase::operator()(const std::vector<double> &x)
{
    Q_ASSERT(x.size() >= std::size_t(m_model->parameterCount()));
    for (int i = 0; i < m_model->parameterCount(); ++i)
        m_model->parameter(i)->setValues(&x);
    return negativeLogLikelihood();
}

PelkLikelihoodFunc::PelkLikelihoodFunc(const ModelDefinition &model, const QMap<QString, int> &categoryCounts)
    : PelkLikelihoodFuncBase(model)
{
    m_likelihoods.reserve(std::size_t(model.likelihoodCount()));
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        Constants constants;
        constants.id = model.likelihoodId(position);
        if (!model.isMultinomial(constants.id)) {
            constants.observed = model.observedEquation(constants.id);
            constants.expected = model.expectedEquation(constants.id);
            constants.standardError = model.standardErrorEquation(constants.id);
            m_likelihoods.push_back(constants);
            continue;
        }
        // A label without an entry counts 0: the editors and the file reader
        // give every category an entry, so a missing one can only mean that
        // nothing was counted, and a zero count leaves the category's formula
        // out of the likelihood instead of reading a value that is not there.
        double total = 0.0;
        double sumOfLogFactorials = 0.0;
        const int categoryCount = model.categoryCount(constants.id);
        for (int i = 0; i < categoryCount; ++i) {
            const double count = categoryCounts.value(model.categoryLabel(constants.id, i), 0);
            constants.counts.push_back(count);
            constants.probabilities.push_back(model.categoryEquation(constants.id, i));
            total += count;
            sumOfLogFactorials += zav::gammln(count + 1.0);
        }
        if (model.hasUnobservedCategory(constants.id)) {
            constants.kind = Constants::Kind::WithUnobservedCategory;
            constants.unobserved = model.categoryEquation(constants.id, categoryCount);
            // Null when the abundance name no longer names a parameter or
            // function: every point is then unusable.
            constants.abundance = model.abundanceSymbol(constants.id);
            constants.sumOfCountLogFactorials = sumOfLogFactorials;
            constants.totalObserved = total;
        } else {
            constants.kind = Constants::Kind::Multinomial;
            constants.multinomialConstant = zav::gammln(total + 1.0) - sumOfLogFactorials;
        }
        m_likelihoods.push_back(std::move(constants));
    }
}

double PelkLikelihoodFunc::negativeLogLikelihood() const
{
    double total = 0.0;
    bool invalid = false;
    for (int position = 0; position < int(m_likelihoods.size()); ++position) {
        total += logLikelihood(position, invalid);
        if (invalid)
            return unusable;
    }
    // An infinite total (a zero probability with a positive count) is a
    // legitimate +infinity objective; only NaN is unusable.
    if (std::isnan(total))
        return unusable;
    return -total;
}

double PelkLikelihoodFunc::likelihoodObjective(int position) const
{
    bool invalid = false;
    const double logLikelihoodValue = logLikelihood(position, invalid);
    if (invalid || std::isnan(logLikelihoodValue))
        return unusable;
    return -logLikelihoodValue;
}

double PelkLikelihoodFunc::logLikelihood(int position, bool &invalid) const
{
    const Constants &constants = m_likelihoods.at(std::size_t(position));
    switch (constants.kind) {
    case Constants::Kind::Normal:
        return normalLogLikelihood(constants, invalid);
    case Constants::Kind::Multinomial:
        return addObservedCategoryTerms(constants.multinomialConstant, constants, invalid);
    case Constants::Kind::WithUnobservedCategory:
        return unobservedLogLikelihood(constants, invalid);
    }
    return 0.0;
}

double PelkLikelihoodFunc::normalLogLikelihood(const Constants &constants, bool &invalid)
{
    if (!constants.standardError || !constants.observed || !constants.expected) {
        invalid = true;
        return 0.0;
    }
    const double s = constants.standardError->evaluate();
    const double z = (constants.observed->evaluate() - constants.expected->evaluate()) / s;
    return std::log(1.0 / s) - 0.5 * z * z;
}

double PelkLikelihoodFunc::unobservedLogLikelihood(const Constants &constants, bool &invalid)
{
    const zav::Equation *abundance = constants.abundance;
    const zav::Equation *unobserved = constants.unobserved;
    if (!abundance || !unobserved) {
        invalid = true;
        return 0.0;
    }
    double logLikelihoodValue = -constants.sumOfCountLogFactorials;
    const double abundanceValue = abundance->evaluate();
    const double unobservedCount = abundanceValue - constants.totalObserved;
    if (unobservedCount < 0.0) {
        invalid = true;
        return 0.0;
    }
    logLikelihoodValue
        = logLikelihoodValue - zav::gammln(unobservedCount + 1.0) + zav::gammln(abundanceValue + 1.0);
    logLikelihoodValue = addObservedCategoryTerms(logLikelihoodValue, constants, invalid);
    if (invalid)
        return 0.0;
    // Added also when u = 0: a zero unobserved probability then gives
    // 0 log 0 = NaN, which marks the point unusable.
    const double p0 = unobserved->evaluate();
    if (unobservedCount > 0.0 && exceedsOne(p0)) {
        invalid = true;
        return 0.0;
    }
    logLikelihoodValue += unobservedCount * logOfProbability(p0);
    return logLikelihoodValue;
}

double PelkLikelihoodFunc::addObservedCategoryTerms(double logLikelihoodValue, const Constants &constants,
                                                    bool &invalid)
{
    for (std::size_t i = 0; i < constants.counts.size(); ++i) {
        const double count = constants.counts[i];
        if (count <= 0.0)
            continue;
        const zav::Equation *probability = constants.probabilities[i];
        if (!probability) {
            invalid = true;
            return 0.0;
        }
        const double p = probability->evaluate();
        if (exceedsOne(p)) {
            invalid = true;
            return 0.0;
        }
        logLikelihoodValue += count * logOfProbability(p);
    }
    return logLikelihoodValue;
}

} // namespace pelk
