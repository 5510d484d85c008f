// Variance of a function of the parameter estimates by the delta method:
// var f = grad f^T Cov grad f, with the exact gradient of f at the given
// parameter values (a reverse sweep over f compiled; u^v with a parameter
// on both sides included).
#pragma once

#include <vector>

namespace zav {
class Equation;
class Matrix;
} // namespace zav

namespace pelk {

// Sets ok to false, and returns 0, when there is no covariance matrix or
// its size is not parameterCount x parameterCount (a matrix left from
// before the parameters changed); ok is true otherwise, and the variance
// is NaN where f or its gradient is not finite at `at`. `at` holds one value
// per parameter of the covariance.
double deltaMethodVariance(const zav::Equation &function, const std::vector<double> &at,
                           const zav::Matrix *covariance, bool &ok);

} // namespace pelk
