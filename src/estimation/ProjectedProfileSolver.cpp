#include "estimation/ProjectedProfileSolver.h"

#include "optim/AbstractOptimizer.h"

namespace pelk {

ProjectedProfileSolver::ProjectedProfileSolver(const std::vector<double> &estimates,
                                               const ModelDefinition &model, zav::Func *function,
                                               const zav::Equation *symbol, zav::AbstractOptimizer &optimizer)
    : m_estimates(estimates),
      m_work(estimates.size()),
      m_profileFunction(model, function, symbol),
      m_optimizer(&optimizer)
{}

void ProjectedProfileSolver::restart(double q)
{
    m_work = m_estimates;
    m_profileFunction.setTarget(q);
}

bool ProjectedProfileSolver::solve(const zav::CancelFlag *cancelFlag)
{
    int iterations = 0;
    m_optimizer->minimize(m_profileFunction, m_work, cancelFlag, iterations);
    return !zav::isCancelled(cancelFlag);
}

} // namespace pelk
