#include "likelihood/PelkLikelihoodFunc.h"

#include "likelihood/Gammln.h"
#include "model/ModelDefinition.h"

#include <cmath>

namespace pelk {

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
            m_likelihoods.push_back(constants);
            continue;
        }
        // A label without an entry counts 0: the editors and the file reader
        // give every category an entry, so a missing one can only mean that
        // nothing was counted, and a zero count leaves the category's formula
        // out of the likelihood instead of reading a value that is not there.
        double total = 0.0;
        double sumOfLogFactorials = 0.0;
        for (int i = 0; i < model.categoryCount(constants.id); ++i) {
            const double count = categoryCounts.value(model.categoryLabel(constants.id, i), 0);
            constants.counts.push_back(count);
            total += count;
            sumOfLogFactorials += zav::gammln(count + 1.0);
        }
        if (model.hasUnobservedCategory(constants.id)) {
            constants.kind = Constants::Kind::WithUnobservedCategory;
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
        return normalLogLikelihood(constants.id, invalid);
    case Constants::Kind::Multinomial:
        return multinomialLogLikelihood(constants, invalid);
    case Constants::Kind::WithUnobservedCategory:
        return unobservedLogLikelihood(constants, invalid);
    }
    return 0.0;
}

double PelkLikelihoodFunc::normalLogLikelihood(int id, bool &invalid) const
{
    const zav::Equation *standardError = model().standardErrorEquation(id);
    const zav::Equation *observed = model().observedEquation(id);
    const zav::Equation *expected = model().expectedEquation(id);
    if (!standardError || !observed || !expected) {
        invalid = true;
        return 0.0;
    }
    const double s = standardError->evaluate();
    const double z = (observed->evaluate() - expected->evaluate()) / s;
    return std::log(1.0 / s) - 0.5 * z * z;
}

double PelkLikelihoodFunc::multinomialLogLikelihood(const Constants &constants, bool &invalid) const
{
    return addObservedCategoryTerms(constants.multinomialConstant, constants, invalid);
}

double PelkLikelihoodFunc::unobservedLogLikelihood(const Constants &constants, bool &invalid) const
{
    // The abundance name is resolved again on every call, so an abundance
    // that no longer names a parameter or function makes the point unusable
    // rather than reading a deleted node.
    const zav::Equation *abundance = model().abundanceSymbol(constants.id);
    const zav::Equation *unobserved = model().categoryEquation(constants.id, int(constants.counts.size()));
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
    logLikelihoodValue += unobservedCount * std::log(unobserved->evaluate());
    return logLikelihoodValue;
}

double PelkLikelihoodFunc::addObservedCategoryTerms(double logLikelihoodValue, const Constants &constants,
                                                    bool &invalid) const
{
    for (std::size_t i = 0; i < constants.counts.size(); ++i) {
        const double count = constants.counts[i];
        if (count <= 0.0)
            continue;
        const zav::Equation *probability = model().categoryEquation(constants.id, int(i));
        if (!probability) {
            invalid = true;
            return 0.0;
        }
        logLikelihoodValue += count * std::log(probability->evaluate());
    }
    return logLikelihoodValue;
}

} // namespace pelk
