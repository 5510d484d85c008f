#include "estimation/ProjectedProfileSolver.h"

#include "optim/AbstractOptimizer.h"
#include "optim/OptimizerFactory.h"

namespace pelk {

ProjectedProfileSolver::ProjectedProfileSolver(const std::vector<double> &estimates,
                                               std::vector<Parameter *> parameters, zav::Func *function,
                                               const zav::Equation *symbol)
    : m_estimates(estimates),
      m_work(estimates.size()),
      m_profileFunction(std::move(parameters), function, symbol),
      m_optimizer(zav::OptimizerFactory::instance().configuredOptimizer())
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
