#include "estimation/ProfiledQuantity.h"

#include "estimation/FunctionProfileFit.h"
#include "estimation/ParameterProfileFit.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "model/ModelDefinition.h"
#include "optim/Matrix.h"

#include <cmath>

namespace pelk {

namespace {

// The standard error of a quantity with gradient g at the estimates,
// sqrt(g'Sg), and the direction S g / g'Sg in which the covariance moves
// the parameters per unit of the quantity (for parameter j: column j of S
// over S_jj, the regression of the others on it).
void describeByCovariance(const std::vector<double> &g, const zav::Matrix &s,
                          zav::ProfileLimitSearch::Quantity &quantity)
{
    const int n = int(g.size());
    std::vector<double> sg(g.size(), 0.0);
    double variance = 0.0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            sg[std::size_t(i)] += s(i, j) * g[std::size_t(j)];
        variance += g[std::size_t(i)] * sg[std::size_t(i)];
    }
    if (!(variance > 0.0) || !std::isfinite(variance))
        return;
    quantity.standardError = std::sqrt(variance);
    for (double &d : sg)
        d /= variance;
    quantity.direction = std::move(sg);
}

} // namespace

ProfiledQuantity::ProfiledQuantity(const ModelDefinition &model, bool isParameter, int index,
                                   const std::vector<double> &estimates, double minimum,
                                   const zav::Matrix *covariance, const double *precision)
    : m_isParameter(isParameter), m_index(index)
{
    const int n = model.parameterCount();
    m_quantity.minimum = minimum;
    std::vector<double> gradient(std::size_t(n), 0.0);
    if (isParameter) {
        m_name = model.parameterName(index);
        m_quantity.estimate = estimates.at(std::size_t(index));
        gradient[std::size_t(index)] = 1.0;
    } else {
        m_name = model.variableName(index);
        m_function.emplace(*model.variableEquation(index), n);
        m_quantity.estimate = m_function->valueAndGradient(estimates, gradient);
    }
    if (covariance)
        describeByCovariance(gradient, *covariance, m_quantity);
    m_precision = zav::ProfileLimitSearch::precisionFor(m_quantity.estimate, precision);
}

std::unique_ptr<zav::ProfileFit> ProfiledQuantity::makeFit(const PelkLikelihoodFunc &objective,
                                                           const zav::Matrix *covariance,
                                                           const zav::OptimizerSettings &settings) const
{
    if (m_isParameter)
        return std::make_unique<ParameterProfileFit>(objective, m_index, covariance);
    return std::make_unique<FunctionProfileFit>(objective, *m_function, settings);
}

} // namespace pelk
