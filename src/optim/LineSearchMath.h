// Small steps shared by the bracketing and Brent's line search.
#pragma once

#include <cmath>

namespace zav {

// The magnitude of one number with the sign of another, where a zero or
// negative zero `sign` counts as positive (unlike std::copysign). The line
// searches depend on that rule for their step directions.
inline double withSignOf(double magnitude, double sign)
{
    return sign >= 0.0 ? std::abs(magnitude) : -std::abs(magnitude);
}

// Moves the values one place down: a <- b, b <- c, c <- d.
inline void shiftDown(double &a, double &b, double &c, double d)
{
    a = b;
    b = c;
    c = d;
}

} // namespace zav
