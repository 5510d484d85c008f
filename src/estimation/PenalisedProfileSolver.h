// The profile of a parameter: minimises f + |w| |h - q| over the parameters
// and the weight w together. The weight starts at 1e6 with Powell's method
// and 5000 with the others, and grows tenfold whenever the optimizer has
// shrunk it below 1; it never shrinks while the solver lives.
#pragma once

#include "estimation/ProfileLikelihoodFunction.h"
#include "estimation/ProfileSolver.h"
#include "optim/OptimizerFactory.h"

#include <vector>

namespace zav {

class AbstractOptimizer;

class PenalisedProfileSolver : public ProfileSolver
{
public:
    // The profile of parameter `parameterIndex`; the run's optimizer (not
    // owned) and its method, which sets the starting weight.
    PenalisedProfileSolver(const std::vector<double> &estimates, Func *function, int parameterIndex,
                           AbstractOptimizer &optimizer, OptimizerFactory::OptimizerType optimizerType);

protected:
    void restart(double q) override;
    bool solve(const CancelFlag *cancelFlag) override;
    double objective() override { return m_profileFunction(m_work); }
    // The objective includes the penalty; the likelihood reads only the
    // parameters, not the weight.
    double likelihood(double) override { return (*m_function)(m_work); }

private:
    void resetWork();

    const std::vector<double> &m_estimates;
    Func *m_function;
    std::vector<double> m_work; // the parameters, then the weight
    ProfileLikelihoodFunction m_profileFunction;
    double m_penaltyWeight;
    AbstractOptimizer *m_optimizer;
};

} // namespace zav
