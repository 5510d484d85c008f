// The objective every optimizer minimises: a scalar function of the
// parameter vector. An optimizer never owns the function.
#pragma once

#include <cmath>
#include <limits>
#include <vector>

namespace zav {

class Func
{
public:
    virtual ~Func() = default;
    // Not const: objectives evaluate formula trees, which cache exp values.
    // Returns the largest finite double for a point that cannot be used.
    virtual double operator()(const std::vector<double> &x) = 0;

    // The value of a point that cannot be used.
    static constexpr double unusable = std::numeric_limits<double>::max();
};

// A value an estimate can rest on: neither the unusable-point cap nor an
// infinity nor NaN.
inline bool isUsable(double value)
{
    return std::isfinite(value) && value < Func::unusable;
}

} // namespace zav
