// The unit of work that computes every requested profile-likelihood
// interval: for each requested parameter, then each requested convenience
// function, and each requested alpha level, the lower and the upper limit.
//
// Every side is an independent search, and the searches run at once on
// worker threads, one per core. Nothing mutable is shared between them:
// each has its own copy of the compiled objective (and of the profiled
// function, compiled), its own fit and, for a function, its own optimizer
// made from the workspace's settings inside the search. Each search keeps
// its points; the unit writes them, with each side's heading, and stores
// the results in the order a sequential run would, as the searches
// complete. So the log and the results do not depend on the number of
// threads, and a cancelled run keeps the pairs written before the
// cancellation.
#pragma once

#include "estimation/ThreadRunnable.h"

#include <vector>

namespace zav {
struct OptimizerSettings;
}

namespace pelk {

class CovarianceEstimator;
class ModelDefinition;
class PelkLikelihoodFunc;
class ProfileLikelihoods;

class ProfileLikelihoodsEstimator : public zav::ThreadRunnable
{
    Q_OBJECT

public:
    using zav::ThreadRunnable::ThreadRunnable;

    // Set before each run; none is owned. The model must be validated.
    void setModel(const ModelDefinition *model) { m_model = model; }
    void setRequests(ProfileLikelihoods *parameterRequests, ProfileLikelihoods *variableRequests)
    {
        m_parameterRequests = parameterRequests;
        m_variableRequests = variableRequests;
    }
    void setEstimates(const std::vector<double> *estimates) { m_estimates = estimates; }
    void setFunction(const PelkLikelihoodFunc *function) { m_function = function; }
    // The workspace's optimizer settings: function profiles minimise with
    // that method.
    void setOptimizerSettings(const zav::OptimizerSettings *settings) { m_settings = settings; }
    // The covariance unit queued before this one (null: none), whose matrix,
    // when it completed one, sets the searches' first steps and predictions.
    void setCovarianceSource(const CovarianceEstimator *source) { m_covarianceSource = source; }
    // The precision of every limit, or null (the default) for the automatic
    // precision of each quantity.
    void setPrecision(const double *precision) { m_precision = precision; }
    // Searches run at once; 0 (the default) for one per core.
    void setThreadCount(int count) { m_threadCount = count; }

    void run() override;

signals:
    void profileStatus(double mle, double value, double chiSquared, double targetChiSquared);

private:
    const ModelDefinition *m_model = nullptr;
    ProfileLikelihoods *m_parameterRequests = nullptr;
    ProfileLikelihoods *m_variableRequests = nullptr;
    const std::vector<double> *m_estimates = nullptr;
    const PelkLikelihoodFunc *m_function = nullptr;
    const zav::OptimizerSettings *m_settings = nullptr;
    const CovarianceEstimator *m_covarianceSource = nullptr;
    const double *m_precision = nullptr;
    int m_threadCount = 0;
};

} // namespace pelk
