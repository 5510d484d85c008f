// How well a model fits at its estimates: the log-likelihood, the AIC and
// the log-likelihood of each likelihood, as the summary report and the
// command-line tool print them.
#pragma once

#include <QMap>
#include <QString>

#include <vector>

namespace pelk {

class ModelDefinition;
class PelkLikelihoodFunc;

class FitStatistics
{
public:
    // Both evaluate the objective at the estimates, which points every
    // parameter node at `estimates`: keep that vector alive while the trees
    // are evaluated afterwards (convenience-function values, delta-method
    // variances).
    FitStatistics(const ModelDefinition &model, PelkLikelihoodFunc &function,
                  const std::vector<double> &estimates);
    // Builds its own objective from the counts; throws NR3::NRError "bad arg
    // in gammln" for a negative count.
    FitStatistics(const ModelDefinition &model, const QMap<QString, int> &categoryCounts,
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
    void evaluate(const ModelDefinition &model, PelkLikelihoodFunc &function,
                  const std::vector<double> &estimates);

    int m_parameterCount = 0;
    double m_logLikelihood = 0.0;
    std::vector<double> m_likelihoodLogLikelihoods;
};

} // namespace pelk
