// Brent's one-dimensional minimisation inside a bracket: parabolic
// interpolation with a golden-section fallback.
#pragma once

#include "optim/Bracket.h"
#include "optim/CancelFlag.h"
#include "optim/LineFunction.h"

namespace zav {

class BrentMinimizer
{
public:
    // Returns the abscissa of the minimum and stores it with its value in
    // xmin and fmin. A set cancel flag, tested before each iteration, returns
    // 0.0 and leaves both unchanged. Throws NR3::NRError after 100 iterations.
    double minimize(const Bracket &bracket, LineFunction &f, const CancelFlag *cancelFlag);

    double xmin = 0.0;
    // Stays 0.0 when the search is cancelled before it converges, which is
    // what a cancelled line search reports.
    double fmin = 0.0;
    // Fractional precision of the abscissa.
    const double tol = 3.0e-8;
};

} // namespace zav
