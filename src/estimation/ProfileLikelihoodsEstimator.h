// The unit of work that computes every requested profile-likelihood
// interval: for each requested parameter, then each requested convenience
// function, and each requested alpha level, the lower and then the upper
// limit. Results are stored as each pair completes, so a cancelled run
// keeps the pairs already done.
#pragma once

#include "estimation/ThreadRunnable.h"
#include "optim/Func.h"
#include "optim/OptimizerFactory.h"

#include <vector>

namespace pelk {

class ModelDefinition;
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
    void setFunction(zav::Func *function) { m_function = function; }
    // The run's optimizer (not owned) and its method.
    void setOptimizer(zav::AbstractOptimizer *optimizer, zav::OptimizerFactory::OptimizerType type)
    {
        m_optimizer = optimizer;
        m_optimizerType = type;
    }
    // The precision of every limit, or null (the default) for the automatic
    // precision of each quantity.
    void setPrecision(const double *precision) { m_precision = precision; }

    void run() override;

signals:
    void profileStatus(double mle, double value, double chiSquared, double targetChiSquared);

private:
    enum class Kind { Parameter, Function };
    // Returns false when the run was cancelled.
    bool estimate(Kind kind, int index, int alphaIndex);

    const ModelDefinition *m_model = nullptr;
    ProfileLikelihoods *m_parameterRequests = nullptr;
    ProfileLikelihoods *m_variableRequests = nullptr;
    const std::vector<double> *m_estimates = nullptr;
    zav::Func *m_function = nullptr;
    zav::AbstractOptimizer *m_optimizer = nullptr;
    zav::OptimizerFactory::OptimizerType m_optimizerType = zav::OptimizerFactory::NoOptimizer;
    const double *m_precision = nullptr;
    int m_sidesDone = 0;
};

} // namespace pelk
