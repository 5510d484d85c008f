// One run of Powell's direction-set method. Works on its own copy of the
// start point, so a throw leaves the caller's point as it was.
#pragma once

#include "optim/CancelFlag.h"
#include "optim/Func.h"
#include "optim/LineMinimizer.h"
#include "optim/Matrix.h"

#include <vector>

namespace zav {

class PowellEngine
{
public:
    PowellEngine(Func &function, double fractionalTolerance, int maxIterations, const CancelFlag *cancelFlag);

    // Minimises from `start` with the coordinate axes as first directions and
    // returns the point reached (also after a cancel). Throws NR3::NRError
    // when maxIterations iterations pass without convergence.
    std::vector<double> minimize(const std::vector<double> &start);

    // The zero-based counter of the last iteration begun.
    int iteration() const { return iter; }

private:
    void replaceDirection(int ibig);

    Func &function;
    const double ftol;
    const int maxIterations;
    const CancelFlag *cancelFlag;
    LineMinimizer lineMinimizer;

    int n = 0;
    int iter = 0;
    double fret = 0.0; // function value at p
    std::vector<double> p; // current point
    std::vector<double> xi; // current direction
    Matrix ximat; // column i is direction i
    std::vector<double> pt; // the point at the start of the iteration
    std::vector<double> ptt; // pt extrapolated through p
};

} // namespace zav
