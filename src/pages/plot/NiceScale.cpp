#include "NiceScale.h"

#include <algorithm>
#include <cmath>

namespace {

// Quotients that should be whole numbers come out of floating-point
// division a few units in the last place off (0.3 / 0.1 = 2.9999999999999996);
// within this relative distance of a whole number they count as whole.
constexpr double wholeTolerance = 1e-9;

// count * 10^exponent, the nearest double to it: dividing by 10^-exponent,
// which is exact as a double, rounds once, where multiplying by the inexact
// 10^exponent would round twice (6 * 0.2 = 1.2000000000000002, 12 / 10 = 1.2).
double scaled(double count, int exponent)
{
    return exponent >= 0 ? count * std::pow(10.0, exponent) : count / std::pow(10.0, -exponent);
}

struct Step
{
    double multiple; // 1, 2 or 5
    int exponent;
    double value() const { return scaled(multiple, exponent); }
};

Step roundStep(double span, double minimumStep)
{
    if (!(span > 0.0) || !std::isfinite(span))
        return {std::max(1.0, minimumStep), 0};
    const double least = std::max(span / NiceScale::maxIntervals, minimumStep);
    const int exponent = static_cast<int>(std::floor(std::log10(least)));
    for (const double multiple : {1.0, 2.0, 5.0}) {
        if (scaled(multiple, exponent) >= least * (1.0 - wholeTolerance))
            return {multiple, exponent};
    }
    return {1.0, exponent + 1};
}

} // namespace

double NiceScale::step(double span, double minimumStep)
{
    return roundStep(span, minimumStep).value();
}

NiceScale::Range NiceScale::bracket(double min, double max, double minimumStep)
{
    if (!(max > min))
        max = min + 1.0;
    const Step s = roundStep(max - min, minimumStep);
    const double step = s.value();
    const double first = std::floor(min / step + wholeTolerance);
    const double last = std::ceil(max / step - wholeTolerance);
    return {scaled(first * s.multiple, s.exponent), scaled(last * s.multiple, s.exponent), step};
}

int NiceScale::decimals(double step)
{
    return std::max(0, -static_cast<int>(std::floor(std::log10(step) + wholeTolerance)));
}
