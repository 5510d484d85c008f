// The maximum-likelihood answer of examples/two-sample-capture.txt (40
// animals caught first only, 30 second only, 20 in both), found without
// PELK: for a given N the estimates of p1 and p2 are n1/N and n2/N, and N
// maximises the profiled log-likelihood, located by golden-section search.
#pragma once

#include <cmath>

namespace support::twoSample {

constexpr double caughtFirst = 60; // n1: animals caught in the first sample
constexpr double caughtSecond = 50; // n2
constexpr double seen = 90; // r: animals caught at least once

// The log-likelihood at N with p1 and p2 at their best values for that N,
// without the multinomial constant of the counts.
inline double profile(double N)
{
    const double p1 = caughtFirst / N, p2 = caughtSecond / N;
    return std::lgamma(N + 1) - std::lgamma(N - seen + 1) + 40 * std::log(p1 * (1 - p2))
         + 30 * std::log((1 - p1) * p2) + 20 * std::log(p1 * p2) + (N - seen) * std::log((1 - p1) * (1 - p2));
}

inline double abundance()
{
    double a = seen, b = 10 * seen;
    const double golden = 0.5 * (std::sqrt(5.0) - 1);
    for (int i = 0; i < 200; ++i) {
        const double c = b - golden * (b - a), d = a + golden * (b - a);
        if (profile(c) > profile(d))
            b = d;
        else
            a = c;
    }
    return 0.5 * (a + b);
}

} // namespace support::twoSample
