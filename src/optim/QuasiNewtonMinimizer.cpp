#include "optim/QuasiNewtonMinimizer.h"

#include "optim/Func.h"

#include <algorithm>
#include <cmath>

namespace zav {

namespace {

bool usable(double f, const std::vector<double> &g)
{
    return isUsable(f) && std::all_of(g.begin(), g.end(), [](double v) { return std::isfinite(v); });
}

double dot(const std::vector<double> &a, const std::vector<double> &b)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += a[i] * b[i];
    return sum;
}

// Sufficient decrease (Armijo): f(x + a p) <= f(x) + c a g'p.
constexpr double armijo = 1e-4;
constexpr int maxBacktracks = 40;

} // namespace

void QuasiNewtonMinimizer::startWithGradientStep(const std::vector<double> &x, const std::vector<double> &g)
{
    const int n = int(x.size());
    double size = 1.0, steepest = 0.0;
    for (int i = 0; i < n; ++i) {
        size = std::max(size, std::abs(x[std::size_t(i)]));
        steepest = std::max(steepest, std::abs(g[std::size_t(i)]));
    }
    m_inverse = Matrix::identity(n);
    const double scale = steepest > 0.0 ? 0.1 * size / steepest : 1.0;
    for (int i = 0; i < n; ++i)
        m_inverse(i, i) = scale;
    m_scaleAtFirstUpdate = true;
}

// The BFGS update of the inverse: H <- (I - r s y')H(I - r y s') + r s s',
// r = 1 / s'y, written for a symmetric H.
void QuasiNewtonMinimizer::update(const std::vector<double> &s, const std::vector<double> &y)
{
    const int n = int(s.size());
    const double sy = dot(s, y);
    // Without positive curvature along the step the update would lose
    // positive definiteness: keep the old inverse.
    if (!(sy > 1e-12 * std::sqrt(dot(s, s) * dot(y, y))))
        return;
    if (m_scaleAtFirstUpdate) {
        // The guess had the right direction but not the curvature's size.
        const double scale = sy / dot(y, y);
        for (int i = 0; i < n; ++i)
            m_inverse(i, i) = scale;
        m_scaleAtFirstUpdate = false;
    }
    std::vector<double> hy(std::size_t(n), 0.0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            hy[std::size_t(i)] += m_inverse(i, j) * y[std::size_t(j)];
    const double r = 1.0 / sy;
    const double ss = r * r * dot(y, hy) + r;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m_inverse(i, j) += ss * s[std::size_t(i)] * s[std::size_t(j)]
                - r * (hy[std::size_t(i)] * s[std::size_t(j)] + s[std::size_t(i)] * hy[std::size_t(j)]);
}

QuasiNewtonMinimizer::Outcome QuasiNewtonMinimizer::minimize(GradientFunc &function, std::vector<double> &x,
                                                             double &f, const CancelFlag *cancelFlag)
{
    const std::size_t n = x.size();
    std::vector<double> g, trialGradient, trial(n), p(n), s(n), y(n);
    f = function.valueAndGradient(x, g);
    if (!usable(f, g))
        return Unusable;
    if (n == 0)
        return Converged;
    if (m_inverse.rows() != int(n))
        startWithGradientStep(x, g);

    bool restarted = false;
    for (int iteration = 0; iteration < maxIterations; ++iteration) {
        if (isCancelled(cancelFlag))
            return Cancelled;
        for (std::size_t i = 0; i < n; ++i) {
            double sum = 0.0;
            for (std::size_t j = 0; j < n; ++j)
                sum -= m_inverse(int(i), int(j)) * g[j];
            p[i] = sum;
        }
        const double slope = dot(g, p); // -g'Hg: negative while H is positive definite
        if (-slope / 2.0 <= tolerance && slope <= 0.0)
            return Converged;
        if (!(slope < 0.0)) {
            // Rounding has spoilt the inverse: start afresh from a gradient step.
            if (restarted)
                return Stalled;
            startWithGradientStep(x, g);
            restarted = true;
            continue;
        }

        double alpha = 1.0, trialValue = 0.0;
        bool accepted = false;
        for (int backtrack = 0; backtrack < maxBacktracks && !accepted; ++backtrack) {
            for (std::size_t i = 0; i < n; ++i)
                trial[i] = x[i] + alpha * p[i];
            trialValue = function.valueAndGradient(trial, trialGradient);
            if (usable(trialValue, trialGradient) && trialValue <= f + armijo * alpha * slope) {
                accepted = true;
            } else if (isUsable(trialValue)) {
                // The minimum of the quadratic through f, the slope and the
                // trial value, kept within [0.1, 0.5] of the step.
                const double curvature = trialValue - f - alpha * slope;
                const double next = curvature > 0.0 ? -slope * alpha * alpha / (2.0 * curvature) : 0.5 * alpha;
                alpha = std::clamp(next, 0.1 * alpha, 0.5 * alpha);
            } else {
                alpha *= 0.1;
            }
        }
        if (!accepted) {
            // At the rounding floor no step lowers f: done if the prediction
            // was small anyway; otherwise the inverse misled the search.
            if (-slope / 2.0 <= 1e3 * tolerance)
                return Converged;
            if (restarted)
                return Stalled;
            startWithGradientStep(x, g);
            restarted = true;
            continue;
        }
        restarted = false;
        for (std::size_t i = 0; i < n; ++i) {
            s[i] = trial[i] - x[i];
            y[i] = trialGradient[i] - g[i];
        }
        x.swap(trial);
        g.swap(trialGradient);
        f = trialValue;
        update(s, y);
    }
    return IterationLimit;
}

} // namespace zav
