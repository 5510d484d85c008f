// Minimises a smooth function whose exact gradient is known (the compiled
// likelihood's reverse sweep): the BFGS method on the inverse Hessian with
// a backtracking line search.
//
// It serves the inner minimisations of profile-likelihood searches, where
// a good start is at hand: the caller may seed the inverse Hessian (the
// conditional covariance of the free parameters is the inverse of their
// Hessian block at the estimates) and keeps the updated one for the next
// fit of the same search, so a fit near the last one takes a few Newton
// steps. A point whose value is unusable (the cap, infinity, NaN) or whose
// gradient is not finite is never accepted: the step shrinks instead.
#pragma once

#include "optim/CancelFlag.h"
#include "optim/Matrix.h"

#include <vector>

namespace zav {

class GradientFunc
{
public:
    virtual ~GradientFunc() = default;
    // The value at x and, resized to x's size, its gradient in `gradient`.
    virtual double valueAndGradient(const std::vector<double> &x, std::vector<double> &gradient) = 0;
};

class QuasiNewtonMinimizer
{
public:
    enum Outcome {
        Converged, // the predicted further decrease is below the tolerance
        Stalled, // no step lowers the value although the prediction says one should
        IterationLimit,
        Unusable, // the start cannot be evaluated
        Cancelled,
    };

    // Converged when the decrease a Newton step with the current inverse
    // Hessian H predicts, g'Hg / 2, is below this. A profile's statistic is
    // twice a difference of minima, so its error stays below 1e-9: far
    // below any precision of the limits, and above the rounding of a
    // negative log-likelihood in the thousands (1e-12).
    static constexpr double tolerance = 5e-10;
    static constexpr int maxIterations = 200;

    // The inverse Hessian of the next minimisation's start (n x n for n
    // free variables); the update of each minimisation carries over to the
    // next. Without one the first step is a short gradient step.
    void setInverseHessian(const Matrix &inverse) { m_inverse = inverse; }
    void clearInverseHessian() { m_inverse = Matrix(); }

    // Minimises from x in place; f is the value at the returned x.
    Outcome minimize(GradientFunc &function, std::vector<double> &x, double &f, const CancelFlag *cancelFlag);

private:
    // Scales the identity so that the first step moves no variable by more
    // than a tenth of its size (or 0.1).
    void startWithGradientStep(const std::vector<double> &x, const std::vector<double> &g);
    void update(const std::vector<double> &s, const std::vector<double> &y);

    Matrix m_inverse;
    bool m_scaleAtFirstUpdate = false; // the inverse is a guess to be rescaled
};

} // namespace zav
