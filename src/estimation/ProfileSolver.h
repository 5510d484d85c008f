// Computes the likelihood-ratio statistic of a profile at one value q of
// the profiled quantity: 2 (f(profile optimum at q) - f(estimates)), with f
// the negative log-likelihood. The constrained problem is solved from the
// estimates and then again from its own solution until two successive
// solutions agree within 0.001 in objective value.
#pragma once

#include "optim/CancelFlag.h"

namespace zav {

class ProfileSolver
{
public:
    virtual ~ProfileSolver() = default;

    // `minimum` is f at the estimates. Returns 0 when cancelled; throws
    // NR3::NRError when the optimizer fails.
    double chiSquared(double q, double minimum, const CancelFlag *cancelFlag);

protected:
    // Puts the work point back at the estimates and sets the target q.
    virtual void restart(double q) = 0;
    // Minimises the constrained objective from the work point; false when
    // cancelled.
    virtual bool solve(const CancelFlag *cancelFlag) = 0;
    // The constrained objective at the work point.
    virtual double objective() = 0;
    // f at the work point's parameters; `objective` is the constrained
    // objective just computed there, which some solvers can reuse.
    virtual double likelihood(double objective) = 0;
};

} // namespace zav
