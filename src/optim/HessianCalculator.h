// The asymptotic covariance matrix of the estimates: the inverse of the
// Hessian of the negative log-likelihood at the estimates, measured by
// central finite differences with steps proportional to each estimate.
#pragma once

#include "optim/CancelFlag.h"
#include "optim/Func.h"
#include "optim/Matrix.h"

#include <memory>
#include <vector>

namespace zav {

class HessianCalculator
{
public:
    // relativeStep: the difference step of a parameter as a fraction of its
    // estimate (the covariance run uses 1e-5).
    HessianCalculator(const CancelFlag *cancelFlag, double relativeStep);
    ~HessianCalculator();

    // Fills `covariance` (n x n) with the inverse Hessian at `estimates`;
    // `hessianOut`, when given, receives the Hessian before it is tested.
    // A cancel request returns without writing either. Throws NR3::NRError
    // "Singular Hessian in calculating covariance matrix" when the Hessian
    // cannot be inverted, and the errors of LUdcmp. Costs 2n^2 + 1
    // evaluations of `function`.
    void computeCovariance(Func &function, const std::vector<double> &estimates, Matrix &covariance,
                           Matrix *hessianOut = nullptr);

private:
    void fillHessian(Func &function, const std::vector<double> &estimates);
    bool isMeasurable(const std::vector<double> &estimates) const;
    // The difference step of a parameter: relativeStep x estimate, at least
    // relativeStep in size.
    double stepFor(double estimate) const;

    const CancelFlag *m_cancelFlag;
    double m_relativeStep;
    std::unique_ptr<Matrix> m_hessian; // working matrix, null between calls
};

} // namespace zav
