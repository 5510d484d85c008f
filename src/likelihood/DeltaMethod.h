// Variance of a function of the parameter estimates by the delta method:
// var f = grad f^T Cov grad f, with the gradient at the current parameter
// values (point the parameters at the estimates first).
#pragma once

namespace zav {
class Equation;
class Matrix;
} // namespace zav

namespace pelk {

class ModelDefinition;

// Sets ok to false, and returns 0, when there is no covariance matrix or
// its size is not parameterCount x parameterCount (a matrix left from
// before the parameters changed). Sets ok to false, and returns the
// variance accumulated so far, when the function cannot be differentiated
// by a parameter (u^v with the parameter on both sides). The standard
// error sqrt(var) is meaningful only when ok is true.
double deltaMethodVariance(const zav::Equation &function, const ModelDefinition &model,
                           const zav::Matrix *covariance, bool &ok);

} // namespace pelk
