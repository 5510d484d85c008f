// The profile of a convenience function: minimises the negative
// log-likelihood over points projected onto h = q (ProjectedProfileFunction),
// so the optimum found is the constrained one.
#pragma once

#include "estimation/ProfileSolver.h"
#include "estimation/ProjectedProfileFunction.h"

#include <vector>

namespace zav {
class AbstractOptimizer;
}

namespace pelk {

class ProjectedProfileSolver : public zav::ProfileSolver
{
public:
    // The optimizer is the run's, not owned.
    ProjectedProfileSolver(const std::vector<double> &estimates, const ModelDefinition &model, zav::Func *function,
                           const zav::Equation *symbol,
                           zav::AbstractOptimizer &optimizer);

protected:
    void restart(double q) override;
    bool solve(const zav::CancelFlag *cancelFlag) override;
    double objective() override { return m_profileFunction(m_work); }
    // The objective is the likelihood at the projected point.
    double likelihood(double objective) override { return objective; }

private:
    const std::vector<double> &m_estimates;
    std::vector<double> m_work;
    ProjectedProfileFunction m_profileFunction;
    zav::AbstractOptimizer *m_optimizer;
};

} // namespace pelk
