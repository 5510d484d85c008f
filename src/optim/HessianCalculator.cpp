#include "optim/HessianCalculator.h"

#include "likelihood/SVD.h"
#include "optim/LUdcmp.h"
#include "optim/NRError.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zav {

namespace {

const char *const singularHessian = "Singular Hessian in calculating covariance matrix";
const char *const notPositiveDefinite = "Hessian not positive definite in calculating covariance matrix";

// True when the symmetric matrix has a Cholesky factor L L^T, i.e. is
// positive definite. Works on a copy.
bool hasCholeskyFactor(Matrix a)
{
    const int n = a.rows();
    for (int j = 0; j < n; ++j) {
        double d = a(j, j);
        for (int k = 0; k < j; ++k)
            d -= a(j, k) * a(j, k);
        if (!(d > 0.0))
            return false;
        d = std::sqrt(d);
        a(j, j) = d;
        for (int i = j + 1; i < n; ++i) {
            double v = a(i, j);
            for (int k = 0; k < j; ++k)
                v -= a(i, k) * a(j, k);
            a(i, j) = v / d;
        }
    }
    return true;
}

// S = D H D over the rows and columns `kept`, D = diag(1/sqrt|H_ii|).
Matrix scaledByDiagonal(const Matrix &hessian, const std::vector<int> &kept)
{
    const int m = int(kept.size());
    std::vector<double> scale(std::size_t(m), 0.0);
    for (int a = 0; a < m; ++a)
        scale[std::size_t(a)]
            = 1.0 / std::sqrt(std::abs(hessian(kept[std::size_t(a)], kept[std::size_t(a)])));
    Matrix scaled(m, m);
    for (int a = 0; a < m; ++a)
        for (int b = 0; b < m; ++b)
            scaled(a, b) = hessian(kept[std::size_t(a)], kept[std::size_t(b)]) * scale[std::size_t(a)]
                * scale[std::size_t(b)];
    return scaled;
}

// The number of singular values of S at or above `tolerance` times the
// largest.
int rankOfScaled(const Matrix &scaled, double tolerance)
{
    if (scaled.rows() == 0)
        return 0;
    const SVD svd(scaled);
    const std::vector<double> &w = svd.w(); // decreasing
    return int(
        std::count_if(w.begin(), w.end(), [&](double value) { return value >= tolerance * w.front(); }));
}

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
    if (!isMeasurable())
        throw NR3::NRError(singularHessian);
    testDefiniteness();

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
// evaluations. Each row starts with its diagonal entry, which settles the
// parameter's step for the entries left of it. Stops at once on a cancel
// request, leaving the matrix partly filled.
void HessianCalculator::fillHessian(Func &function, const std::vector<double> &estimates)
{
    Matrix &hessian = *m_hessian;
    std::vector<double> x = estimates;
    const std::size_t n = x.size();
    const int total = int(n * (n + 1) / 2);
    int done = 0;
    const auto entryDone = [&] {
        if (m_progress)
            m_progress(++done, total);
    };
    const double f0 = function(x);
    m_steps.assign(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        if (isCancelled(m_cancelFlag))
            return;
        const int row = int(i);
        const DiagonalStep diagonal = diagonalStep(function, x, i);
        const double di = diagonal.step;
        m_steps[i] = di;
        hessian(row, row) = (diagonal.fMinus + (diagonal.fPlus - 2.0 * f0)) / (di * di);
        entryDone();
        for (std::size_t j = 0; j < i; ++j) {
            if (isCancelled(m_cancelFlag))
                return;
            const int column = int(j);
            const double dj = m_steps[j];
            x[i] = estimates[i] + di;
            x[j] = estimates[j] + dj;
            const double fPlusPlus = function(x);
            x[j] = estimates[j] - dj;
            const double fPlusMinus = function(x);
            x[i] = estimates[i] - di;
            const double fMinusMinus = function(x);
            x[j] = estimates[j] + dj;
            const double fMinusPlus = function(x);
            hessian(row, column) = ((fPlusPlus - fMinusPlus) - fPlusMinus + fMinusMinus) / (4.0 * di * dj);
            hessian(column, row) = hessian(row, column);
            x[i] = estimates[i];
            x[j] = estimates[j];
            entryDone();
        }
    }
}

// The step of parameter i and the objective at x +- step e_i. The step of
// stepFor is kept whenever both points are usable, which they are except
// near a boundary of the model: a probability estimated at 1e-6 lies
// closer to 0 than the step floor of 1e-5, so x - step is a negative
// probability. The step then shrinks tenfold until both points are usable:
// the first usable step lies between a tenth of the distance to the
// boundary and the distance itself, too close for accuracy (the second
// difference of -log x at a step of a tenth of x is 0.5 % off), so the
// step used is a hundredth of it, where that error falls below 5e-5 while
// rounding, which grows as 1/step^2, stays small. Never below relativeStep
// times the estimate itself; a step still unusable there leaves a
// non-finite entry, and the Hessian is judged singular.
HessianCalculator::DiagonalStep HessianCalculator::diagonalStep(Func &function, std::vector<double> &x,
                                                                std::size_t i) const
{
    // 1e-5 shrunk 30 times is 1e-35, past any estimate's own step.
    constexpr int maxShrinks = 30;
    constexpr double accuracyShrink = 100.0;
    const double estimate = x[i];
    const double smallest = m_relativeStep * std::abs(estimate);
    const auto measure = [&](double step) {
        DiagonalStep result {step, 0.0, 0.0};
        x[i] = estimate + step;
        result.fPlus = function(x);
        x[i] = estimate - step;
        result.fMinus = function(x);
        x[i] = estimate;
        return result;
    };
    const auto usable
        = [](const DiagonalStep &result) { return isUsable(result.fPlus) && isUsable(result.fMinus); };
    const auto shrunk = [smallest](double step, double factor) {
        return std::copysign(std::max(std::abs(step) / factor, smallest), step);
    };
    DiagonalStep result = measure(stepFor(estimate));
    if (usable(result))
        return result;
    for (int shrink = 0; shrink < maxShrinks && std::abs(result.step) > smallest; ++shrink) {
        if (isCancelled(m_cancelFlag))
            return result;
        result = measure(shrunk(result.step, 10.0));
        if (usable(result))
            return std::abs(result.step) > smallest ? measure(shrunk(result.step, accuracyShrink)) : result;
    }
    return result;
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

bool HessianCalculator::isMeasurable() const
{
    const int n = m_hessian->rows();
    for (int i = 0; i < n; ++i) {
        if (m_steps[std::size_t(i)] == 0.0)
            return false;
        for (int j = 0; j < n; ++j)
            if (!std::isfinite((*m_hessian)(i, j)))
                return false;
    }
    return true;
}

// The verdicts of the header, on S = D H D.
void HessianCalculator::testDefiniteness() const
{
    const Matrix &hessian = *m_hessian;
    const int n = hessian.rows();
    std::vector<int> every(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double h = hessian(i, i);
        if (h == 0.0)
            throw NR3::NRError(singularHessian);
        if (h < 0.0)
            throw NR3::NRError(notPositiveDefinite);
        every[std::size_t(i)] = i;
    }
    const Matrix scaled = scaledByDiagonal(hessian, every);
    if (rankOfScaled(scaled, rankTolerance) < n)
        throw NR3::NRError(singularHessian);
    if (!hasCholeskyFactor(scaled))
        throw NR3::NRError(notPositiveDefinite);
}

std::optional<int> HessianCalculator::rank(const Matrix &hessian)
{
    const int n = hessian.rows();
    std::vector<int> kept;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            if (!std::isfinite(hessian(i, j)))
                return std::nullopt;
        if (hessian(i, i) != 0.0)
            kept.push_back(i);
    }
    return rankOfScaled(scaledByDiagonal(hessian, kept), rankTolerance);
}

} // namespace zav
