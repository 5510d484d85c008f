// Minimises the objective along one direction from the current point of a
// direction-set search, and moves the point there.
#pragma once

#include "optim/CancelFlag.h"
#include "optim/Func.h"

#include <vector>

namespace zav {

class LineMinimizer
{
public:
    LineMinimizer(Func &function, const CancelFlag *cancelFlag) : function(function), cancelFlag(cancelFlag)
    {}

    // Returns the minimum value along xi; p moves to the minimiser and xi
    // becomes the displacement. A set cancel flag returns 0.0 and leaves p
    // where it was. Throws NR3::NRError when no bracket can be found away
    // from unusable points, or when Brent's search does not converge.
    double minimize(std::vector<double> &p, std::vector<double> &xi);

private:
    Func &function;
    const CancelFlag *cancelFlag;
};

} // namespace zav
