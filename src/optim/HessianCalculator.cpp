#include "optim/HessianCalculator.h"

#include "likelihood/SVD.h"
#include "optim/LUdcmp.h"
#include "optim/NRError.h"

#include <algorithm>
#include <cmath>

namespace zav {

namespace {

const char *const singularHessian = "Singular Hessian in calculating covariance matrix";

} // namespace

HessianCalculator::HessianCalculator(const CancelFlag *cancelFlag, double relativeStep)
    : m_cancelFlag(cancelFlag), m_relativeStep(relativeStep)
{}

HessianCalculator::~HessianCalculator() = default;

void HessianCalculator::computeCovariance(Func &function, const std::vector<double> &estimates,
                                          Matrix &covariance, Matrix *hessianOut)
{
    const int n = int(estimates.size());
    m_hessian = std::make_unique<Matrix>(n, n);
    // The working matrix is released on every way out, a throw included.
    struct Release
    {
        std::unique_ptr<Matrix> &matrix;
        ~Release() { matrix.reset(); }
    } release {m_hessian};

    fillHessian(function, estimates);
    if (isCancelled(m_cancelFlag))
        return;
    if (hessianOut)
        *hessianOut = *m_hessian;

    // A Hessian that could not be measured (an unusable point nearby gives an
    // infinite value) cannot be inverted; it would also feed non-finite
    // values to the SVD.
    if (!isMeasurable(estimates))
        throw NR3::NRError(singularHessian);
    if (SVD(*m_hessian).rank() < n)
        throw NR3::NRError(singularHessian);

    const LUdcmp lu(*m_hessian);
    Matrix inverse;
    lu.inverse(inverse);
    if (covariance.rows() != n || covariance.columns() != n)
        covariance.assign(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            covariance(i, j) = inverse(i, j);
}

// Central differences over the lower triangle, mirrored: 1 + 2n + 4 n(n-1)/2
// evaluations. Stops at once on a cancel request, leaving the matrix partly
// filled.
void HessianCalculator::fillHessian(Func &function, const std::vector<double> &estimates)
{
    Matrix &hessian = *m_hessian;
    std::vector<double> x = estimates;
    const std::size_t n = x.size();
    const double f0 = function(x);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j <= i; ++j) {
            if (isCancelled(m_cancelFlag))
                return;
            const double di = stepFor(estimates[i]);
            const int row = int(i);
            const int column = int(j);
            if (j == i) {
                x[i] = estimates[i] + di;
                const double fPlus = function(x);
                x[i] = estimates[i] - di;
                const double fMinus = function(x);
                hessian(row, row) = (fMinus + (fPlus - 2.0 * f0)) / (di * di);
            } else {
                const double dj = stepFor(estimates[j]);
                x[i] = estimates[i] + di;
                x[j] = estimates[j] + dj;
                const double fPlusPlus = function(x);
                x[j] = estimates[j] - dj;
                const double fPlusMinus = function(x);
                x[i] = estimates[i] - di;
                const double fMinusMinus = function(x);
                x[j] = estimates[j] + dj;
                const double fMinusPlus = function(x);
                hessian(row, column)
                    = ((fPlusPlus - fMinusPlus) - fPlusMinus + fMinusMinus) / (4.0 * di * dj);
                hessian(column, row) = hessian(row, column);
            }
            x[i] = estimates[i];
            x[j] = estimates[j];
        }
    }
}

// The step is relative to the estimate, but never below relativeStep itself:
// a step proportional to an estimate near 0 (a logit near 0, a probability
// near 1/2) is so small that rounding in the objective, about 1e-16 of its
// value, swamps the second difference, which divides by the step squared;
// at an estimate of exactly 0 it would divide by zero.
double HessianCalculator::stepFor(double estimate) const
{
    // Keeps the estimate's sign, so that from |estimate| = 1 on the points
    // are exactly relativeStep * estimate away.
    return m_relativeStep * (std::abs(estimate) >= 1.0 ? estimate : std::copysign(1.0, estimate));
}

bool HessianCalculator::isMeasurable(const std::vector<double> &estimates) const
{
    const int n = int(estimates.size());
    for (int i = 0; i < n; ++i) {
        if (stepFor(estimates[std::size_t(i)]) == 0.0)
            return false;
        for (int j = 0; j < n; ++j)
            if (!std::isfinite((*m_hessian)(i, j)))
                return false;
    }
    return true;
}

} // namespace zav
