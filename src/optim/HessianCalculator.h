// The asymptotic covariance matrix of the estimates: the inverse of the
// Hessian of the negative log-likelihood at the estimates, measured by
// central finite differences with steps proportional to each estimate.
//
// The inverse is meaningless when the data do not determine every
// parameter: with one normal observation o and expected value a + b, the
// log-likelihood depends on a + b alone, the Hessian is exactly singular,
// and a difference Hessian, whose entries carry rounding noise of up to
// about 1e-6 of their size (rounding of the objective, about 1e-16 of its
// value, divided by the squared step, 1e-10 relative), inverts to huge
// variances instead. So the verdict is taken on the Hessian scaled to unit
// diagonal, S = D H D with D = diag(1/sqrt(H_ii)), whose condition does not
// depend on the parameters' units (an abundance of 10^4 beside a
// probability of 0.01): the Hessian is
// - "singular" when a diagonal entry is 0 or the smallest singular value
//   of S is below 1e-8 of its largest, well under any correlation a model
//   can mean (|r| = 1 - 1e-8). Exact singularity shows as a singular value
//   at the level of the noise, which is far below 1e-8 where the model
//   fits its data closely (the objective near 0, as with a + b above); a
//   noisier measurement of a singular Hessian passes as full rank with
//   correlations near +-1 and huge variances, which the tables show;
// - "not positive definite" when a diagonal entry is negative or S has no
//   Cholesky factor: the estimates are not at a minimum, and some variance
//   would come out negative.
// Both end the run with an NRError and no covariance.
#pragma once

#include "optim/CancelFlag.h"
#include "optim/Func.h"
#include "optim/Matrix.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zav {

class HessianCalculator
{
public:
    // relativeStep: the difference step of a parameter as a fraction of its
    // estimate (the covariance run uses 1e-5).
    HessianCalculator(const CancelFlag *cancelFlag, double relativeStep);
    ~HessianCalculator();

    // Told the number of Hessian entries measured so far and their total,
    // n(n+1)/2, after each entry: a model with thousands of parameters
    // needs millions of evaluations.
    using Progress = std::function<void(int done, int total)>;
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // The smallest ratio of the scaled Hessian's smallest to largest singular
    // value that still counts as full rank.
    static constexpr double rankTolerance = 1e-8;

    // Fills `covariance` (n x n) with the inverse Hessian at `estimates`;
    // `hessianOut`, when given, receives the Hessian before it is tested.
    // A cancel request returns without writing either. Throws NR3::NRError
    // "Singular Hessian in calculating covariance matrix" or "Hessian not
    // positive definite in calculating covariance matrix" (see above), and
    // the errors of LUdcmp. Costs 2n^2 + 1 evaluations of `function`, and
    // 2 more for each step that had to be shrunk near a boundary.
    void computeCovariance(Func &function, const std::vector<double> &estimates, Matrix &covariance,
                           Matrix *hessianOut = nullptr);

    // The rank of a measured Hessian by the rule above: the number of
    // singular values of S = D H D (D = diag(1/sqrt|H_ii|)) at or above
    // rankTolerance times the largest; a parameter whose diagonal entry is
    // 0 adds nothing. None when an entry is not finite.
    static std::optional<int> rank(const Matrix &hessian);

    // The number of function evaluations of a Hessian of n parameters
    // whose steps need no shrinking.
    static double evaluationCount(int n) { return 2.0 * n * n + 1.0; }

private:
    struct DiagonalStep
    {
        double step;
        double fPlus;
        double fMinus;
    };
    // x holds the estimates and is left so.
    DiagonalStep diagonalStep(Func &function, std::vector<double> &x, std::size_t i) const;
    void fillHessian(Func &function, const std::vector<double> &estimates);
    bool isMeasurable() const;
    void testDefiniteness() const;
    // The difference step of a parameter: relativeStep x estimate, at least
    // relativeStep in size.
    double stepFor(double estimate) const;

    const CancelFlag *m_cancelFlag;
    double m_relativeStep;
    Progress m_progress;
    std::vector<double> m_steps; // per parameter, chosen with its diagonal entry
    std::unique_ptr<Matrix> m_hessian; // working matrix, null between calls
};

} // namespace zav
