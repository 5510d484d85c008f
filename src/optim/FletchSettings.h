// Settings of the Fletch quasi-Newton method: one record for the whole
// process, written by the options editor and the settings file.
#pragma once

namespace zav {

struct FletchSettings
{
    static constexpr double defaultPrecision = 1e-6; // convergence precision
    static constexpr double defaultStepSize = 1e-6; // proportional finite-difference step
    static constexpr int defaultMaxIterations = 200;

    double precision = defaultPrecision;
    double stepSize = defaultStepSize;
    int maxIterations = defaultMaxIterations;

    static FletchSettings &instance();
};

} // namespace zav
