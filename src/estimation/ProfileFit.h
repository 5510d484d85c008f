// The inner minimisation of a profile-likelihood search: the smallest
// negative log-likelihood f with the profiled quantity held at a value q.
// Each search owns its fit, so a fit may keep what it learnt (an inverse
// Hessian) for the next value of the same search.
#pragma once

#include "optim/CancelFlag.h"

#include <vector>

namespace zav {

class ProfileFit
{
public:
    virtual ~ProfileFit() = default;

    // Minimises from `point` (every parameter: the caller's guess of the
    // solution) with the quantity held at q and leaves the solution in
    // `point`. Returns the minimum, or Func::unusable when no usable point
    // was found with the quantity at q; anything when cancelled (the
    // caller reads the flag). Throws NR3::NRError when the minimisation
    // fails.
    virtual double minimum(double q, std::vector<double> &point, const CancelFlag *cancelFlag) = 0;

    // The fit's work so far, in evaluations of the objective (a value with
    // its gradient counts 3).
    virtual long evaluationCost() const = 0;
};

} // namespace zav
