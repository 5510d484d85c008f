// Settings of the downhill simplex: one record for the whole process. The
// options editor and the settings file write it; the factory copies it into
// the optimizer at the start of every run.
#pragma once

namespace zav {

struct SimplexSettings
{
    // Converged when 2|f_max - f_min| <= tolerance (|f_max| + |f_min| + tiny).
    static constexpr double defaultFractionalTolerance = 3e-8;
    static constexpr int defaultMaxFuncEvaluations = 5000;
    // Each start vertex moves one coordinate by this fraction of its value.
    static constexpr double defaultStepSize = 0.1;

    double fractionalTolerance = defaultFractionalTolerance;
    int maxFuncEvaluations = defaultMaxFuncEvaluations;
    double stepSize = defaultStepSize;

    static SimplexSettings &instance();
};

} // namespace zav
