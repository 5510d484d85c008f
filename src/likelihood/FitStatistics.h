// How well a model fits at its estimates: the log-likelihood, the AIC and
// the log-likelihood of each likelihood, as the summary report and the
// command-line tool print them.
#pragma once


#include <vector>

namespace pelk {

class ModelDefinition;
class PelkLikelihoodFunc;

class FitStatistics
{
public:
    // Evaluates the objective at the estimates (the formula trees are left
    // as they are).
    FitStatistics(const ModelDefinition &model, PelkLikelihoodFunc &function,
                  const std::vector<double> &estimates);

    // LL = -objective; -1.7976931348623157e308 when the objective was capped.
    double logLikelihood() const { return m_logLikelihood; }
    // AIC = 2k - 2 LL.
    double aic() const { return 2.0 * m_parameterCount - 2.0 * m_logLikelihood; }
    // k, the number of parameters of the model.
    int parameterCount() const { return m_parameterCount; }
    // The negated per-likelihood objective of each likelihood, in list order.
    const std::vector<double> &likelihoodLogLikelihoods() const { return m_likelihoodLogLikelihoods; }

private:

    int m_parameterCount = 0;
    double m_logLikelihood = 0.0;
    std::vector<double> m_likelihoodLogLikelihoods;
};

} // namespace pelk
