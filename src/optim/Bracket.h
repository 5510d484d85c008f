// Three abscissae ax, bx, cx along a line with bx between the others and
// f(bx) no higher than f(ax) and f(cx) (when the search ends normally), so
// that a minimum lies between ax and cx.
#pragma once

#include "optim/LineFunction.h"

namespace zav {

struct Bracket
{
    double ax = 0.0;
    double bx = 0.0;
    double cx = 0.0;
    double fa = 0.0;
    double fb = 0.0;
    double fc = 0.0;

    // Golden-section expansion downhill from a and b with parabolic
    // extrapolation. Never looks at a cancel flag.
    void searchFrom(double a, double b, LineFunction &f);
};

} // namespace zav
