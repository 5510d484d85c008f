#include "estimation/PenalisedProfileSolver.h"

#include "optim/AbstractOptimizer.h"

#include <algorithm>

namespace zav {

PenalisedProfileSolver::PenalisedProfileSolver(const std::vector<double> &estimates, Func *function,
                                               int parameterIndex, AbstractOptimizer &optimizer,
                                               OptimizerFactory::OptimizerType optimizerType)
    : m_estimates(estimates),
      m_function(function),
      m_work(estimates.size() + 1),
      m_profileFunction(int(estimates.size()), function, parameterIndex),
      m_penaltyWeight(optimizerType == OptimizerFactory::Powell ? 1e6 : 5000.0),
      m_optimizer(&optimizer)
{}

void PenalisedProfileSolver::resetWork()
{
    std::copy(m_estimates.begin(), m_estimates.end(), m_work.begin());
    m_work.back() = m_penaltyWeight;
}

void PenalisedProfileSolver::restart(double q)
{
    resetWork();
    m_profileFunction.setTarget(q);
}

bool PenalisedProfileSolver::solve(const CancelFlag *cancelFlag)
{
    int iterations = 0;
    m_optimizer->minimize(m_profileFunction, m_work, cancelFlag, iterations);
    if (isCancelled(cancelFlag))
        return false;
    // A weight below 1 no longer holds h at q: start again, ten times heavier.
    while (m_work.back() < 1.0) {
        m_penaltyWeight *= 10.0;
        resetWork();
        m_optimizer->minimize(m_profileFunction, m_work, cancelFlag, iterations);
        if (isCancelled(cancelFlag))
            return false;
    }
    return true;
}

} // namespace zav
