// The state of the Fletch quasi-Newton engine that FletchOptimizer owns.
#pragma once

#include "optim/CancelFlag.h"
#include "optim/FletchSettings.h"

namespace zav {

struct FletchEngine
{
    double f = 0.0; // function value at the current point
    const CancelFlag *cancelFlag = nullptr; // the caller's flag, set per run
    double stepSize = FletchSettings::defaultStepSize;
    double precision = FletchSettings::defaultPrecision;
    int maxIterations = FletchSettings::defaultMaxIterations;
};

} // namespace zav
