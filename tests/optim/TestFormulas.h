// Objectives with minima known in closed form, for the optimizer tests'
// data tables.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace optimtest {

using Point = std::vector<double>;

// What the objectives return for a point they cannot use.
constexpr double unusable = std::numeric_limits<double>::max();

// Minimum (1, -2) with value 5; the cross term couples the coordinates.
inline double shiftedBowl(const Point &x)
{
    const double a = x[0] - 1.0;
    const double b = x[1] + 2.0;
    return a * a + a * b + 4.0 * b * b + 5.0;
}

// Minimum (-3, 0.5, 40) with value -1; curvatures 4, 100 and 0.02.
inline double scaledBowl(const Point &x)
{
    const double a = x[0] + 3.0;
    const double b = x[1] - 0.5;
    const double c = x[2] - 40.0;
    return 2.0 * a * a + 50.0 * b * b + 0.01 * c * c - 1.0;
}

// Minimum (1, 1) with value 0 at the end of a curved valley.
inline double rosenbrock(const Point &x)
{
    const double a = x[1] - x[0] * x[0];
    const double b = 1.0 - x[0];
    return 100.0 * a * a + b * b;
}

// Minimum (1, -2) with value 0, flat (fourth order) along the diagonal.
inline double quarticValley(const Point &x)
{
    const double a = x[0] - 1.0;
    const double b = x[1] + 2.0;
    const double s = (a + b) * (a + b);
    return s * s + (a - b) * (a - b);
}

// Minimum ln 2 with value 2 - 2 ln 2; not symmetric about it.
inline double exponentialValley(const Point &x)
{
    return std::exp(x[0]) - 2.0 * x[0];
}

// Minimum 0 with value 0.
inline double square(const Point &x)
{
    return x[0] * x[0];
}

// Minimum 3 with value 0.
inline double parabola(const Point &x)
{
    return (x[0] - 3.0) * (x[0] - 3.0);
}

// Minimum 3 with value 0, flat to fourth order.
inline double quartic(const Point &x)
{
    const double a = parabola(x);
    return a * a;
}

// Minimum 0 with value 0; rises to 1.5 at +-0.5 and falls back to 1 at +-1.
inline double bump(const Point &x)
{
    const double a = std::abs(x[0]);
    return a + 4.0 * a * (1.0 - a);
}

// Minimum 0.3 with value 0; unusable from 0.5 on.
inline double usableBelowHalf(const Point &x)
{
    return x[0] < 0.5 ? (x[0] - 0.3) * (x[0] - 0.3) : unusable;
}

inline double usableOnlyAtTheOrigin(const Point &x)
{
    return std::all_of(x.begin(), x.end(), [](double v) { return v == 0.0; }) ? 1.0 : unusable;
}

inline double nowhereUsable(const Point &)
{
    return unusable;
}

inline double flat(const Point &)
{
    return 7.0;
}

using Formula = double (*)(const Point &);

inline Point toPoint(const QList<double> &values)
{
    return Point(values.begin(), values.end());
}

inline double maxDistance(const Point &x, const QList<double> &y)
{
    double distance = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i)
        distance = std::max(distance, std::abs(x[i] - y[int(i)]));
    return distance;
}

} // namespace optimtest

Q_DECLARE_METATYPE(optimtest::Formula)
