#include "optim/FletchEngine.h"

#include <algorithm>
#include <cmath>

namespace zav {

namespace {

// Evaluation budgets: a line search that has not found a lower value after a
// million evaluations, or an extrapolation that keeps improving after a
// hundred thousand, is chasing an objective without a minimum.
constexpr long maxLineSearchEvaluations = 1000000;
constexpr long maxExtrapolationEvaluations = 100000;

// Shrink factor of a failed trial when the parabola through the last three
// values gives no better guess, and the smallest factor the parabola may give.
constexpr double defaultShrink = 0.1;

// The typical magnitude of a parameter: 0.5 below 1, otherwise the power of
// ten at or below |x|, so the difference step follows the parameter's scale.
double typicalMagnitude(double x)
{
    const double magnitude = std::fabs(x);
    if (magnitude < 1.0)
        return 0.5;
    return std::pow(10.0, std::floor(std::log10(magnitude)));
}

double dot(const std::vector<double> &a, const std::vector<double> &b)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += a[i] * b[i];
    return sum;
}

} // namespace

void FletchEngine::prepare(Func &function, const std::vector<double> &x, const CancelFlag *flag)
{
    const std::size_t n = x.size();
    m_scale.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        m_scale[i] = typicalMagnitude(x[i]);
    m_g.assign(n, 0.0);
    m_gOld.assign(n, 0.0);
    m_h.assign(n * (n + 1) / 2, 0.0);
    m_w.assign(n, 0.0);
    m_s.assign(n, 0.0);
    m_dmin = 1.0;
    f = function(x);
    cancelFlag = flag;
}

FletchEngine::Outcome FletchEngine::run(Func &function, std::vector<double> &x, int &iterations)
{
    setIdentity();
    iterations = 0;
    f = function(x);
    m_nfev = 1;
    m_dfn = 1.0; // expected first decrease
    for (m_mode = 1; m_mode <= 2; ++m_mode) {
        computeGradient(function, x);
        if (iterations >= maxIterations)
            return IterationLimit;
        Step step = Proceed;
        while (step == Proceed)
            step = iterate(function, x, iterations);
        if (step == StepLimit)
            return IterationLimit;
        if (step == StepCancelled)
            return Cancelled;
    }
    return Converged;
}

FletchEngine::Step FletchEngine::iterate(Func &function, std::vector<double> &x, int &iterations)
{
    ++iterations;
    if (isCancelled(cancelFlag))
        return StepCancelled;

    solveSearchDirection();
    // z: the largest change of a parameter per unit multiplier, in units of
    // its typical magnitude.
    double z = 0.0;
    m_gs0 = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        z = std::fmax(z, std::fabs(m_s[i]) / m_scale[i]);
        m_gs0 += m_g[i] * m_s[i];
    }
    if (m_gs0 >= 0.0) // not a descent direction
        return Stalled;

    m_aeps = precision / z;
    // Aim for the decrease of the previous iteration, never beyond the
    // quasi-Newton step itself.
    m_alpha = -2.0 * m_dfn / m_gs0;
    if (m_alpha > 1.0)
        m_alpha = 1.0;
    m_ff = f;
    m_stage = 0;

    Step step = lineSearch(function, x, iterations);
    if (step != Proceed)
        return step;
    if (m_stage == 0) {
        step = extrapolate(function, x, iterations);
        if (step != Proceed)
            return step;
    } else if (m_aeps > m_tot) {
        return Stalled; // the accepted step no longer moves any parameter
    }
    return update(function, x, iterations);
}

// Finds a multiplier with a lower value than f and moves x there. Leaves
// m_stage at 0 when the first trial already succeeded.
FletchEngine::Step FletchEngine::lineSearch(Func &function, std::vector<double> &x, int iterations)
{
    for (;;) {
        if (isCancelled(cancelFlag))
            return StepCancelled;
        if (iterations >= maxIterations)
            return StepLimit;
        setTrialPoint(x, m_alpha);
        const double f1 = function(m_w);
        ++m_nfev;
        if (f1 < f) {
            m_f2 = f;
            m_tot = m_alpha;
            x = m_w;
            f = f1;
            return Proceed;
        }
        if (m_alpha < m_aeps)
            return Stalled;
        if (m_nfev > maxLineSearchEvaluations)
            return StepLimit;

        m_alpha /= 2.0;
        setTrialPoint(x, m_alpha);
        const double fHalf = function(m_w);
        ++m_nfev;
        m_stage = 1;
        if (fHalf < f) {
            m_tot = m_alpha;
            f = fHalf;
            x = m_w;
            return Proceed;
        }
        // Minimiser of the parabola through the values at 0, alpha and
        // 2 alpha, in units of alpha, when that parabola opens upwards.
        double shrink = defaultShrink;
        if (2.0 * fHalf < f + f1) {
            const double t = 1.0 + 0.5 * (f - f1) / (f + f1 - 2.0 * fHalf);
            shrink = t < defaultShrink ? defaultShrink : t;
        }
        m_alpha *= shrink;
    }
}

// After a first-trial success: keeps doubling the multiplier while the value
// falls, stopping one step after the values start to curve upwards.
FletchEngine::Step FletchEngine::extrapolate(Func &function, std::vector<double> &x, int iterations)
{
    do {
        if (iterations > maxIterations || m_nfev > maxExtrapolationEvaluations)
            return StepLimit;
        setTrialPoint(x, m_alpha);
        const double f1 = function(m_w);
        ++m_nfev;
        if (f1 >= f)
            return Proceed;
        // m_f2, f and f1 are equally spaced along s; a convex triple whose
        // parabola has its minimum near f ends the extrapolation.
        if (m_f2 + f1 > 2.0 * f && 12.0 * f < 5.0 * m_f2 + 7.0 * f1)
            m_stage = 2;
        m_tot += m_alpha;
        m_alpha *= 2.0;
        x = m_w;
        f = f1;
    } while (m_stage == 0);
    return Proceed;
}

// New gradient, then the BFGS or DFP update of L D L^T by Fletcher's rule.
FletchEngine::Step FletchEngine::update(Func &function, std::vector<double> &x, int iterations)
{
    m_gOld = m_g;
    computeGradient(function, x);
    if (iterations >= maxIterations)
        return StepLimit;
    m_dfn = m_ff - f;
    const double sig = dot(m_s, m_g) - m_gs0; // s.y with y = g_new - g_old
    if (sig <= 0.0) // the curvature along s is not positive: keep H
        return Proceed;

    const std::size_t n = x.size();
    std::vector<double> z(n);
    const double q = m_tot * m_gs0 + sig;
    if (q <= 0.0) {
        for (std::size_t i = 0; i < n; ++i)
            z[i] = m_g[i] - m_gOld[i];
        rankOneUpdate(z, 1.0 / (m_tot * sig));
        rankOneUpdate(m_gOld, 1.0 / m_gs0);
    } else {
        const double a = m_tot / (sig - m_tot * m_gs0);
        for (std::size_t i = 0; i < n; ++i)
            z[i] = (a * sig - 1.0) * m_gOld[i] + m_g[i];
        rankOneUpdate(z, 1.0 / (a * sig * sig));
        rankOneUpdate(m_gOld, -a);
    }
    return Proceed;
}

// Forward differences cost n evaluations and are accurate enough far from
// the minimum; central differences (2n) take over once forward ones stall.
// Each coordinate is restored exactly before the next one is moved.
void FletchEngine::computeGradient(Func &function, std::vector<double> &x)
{
    const std::size_t n = x.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double h = m_scale[i] * stepSize;
        const double xi = x[i];
        x[i] = xi + h;
        const double forward = function(x);
        if (m_mode == 1) {
            m_g[i] = (forward - f) / h;
        } else {
            x[i] = xi - h;
            const double backward = function(x);
            m_g[i] = (forward - backward) / (2.0 * h);
        }
        x[i] = xi;
    }
    m_nfev += m_mode == 1 ? long(n) : 2 * long(n);
}

// Solves (L D L^T) s = -g by forward substitution, division by D and back
// substitution.
void FletchEngine::solveSearchDirection()
{
    const std::size_t n = m_g.size();
    for (std::size_t i = 0; i < n; ++i) {
        double sum = -m_g[i];
        for (std::size_t k = 0; k < i; ++k)
            sum -= m_h[columnStart(k) + (i - k)] * m_s[k];
        m_s[i] = sum;
    }
    for (std::size_t i = 0; i < n; ++i)
        m_s[i] /= m_h[columnStart(i)];
    for (std::size_t i = n; i-- > 0;) {
        double sum = m_s[i];
        for (std::size_t k = i + 1; k < n; ++k)
            sum -= m_h[columnStart(i) + (k - i)] * m_s[k];
        m_s[i] = sum;
    }
}

// L D L^T += sigma z z^T, keeping L unit lower triangular. A diagonal that
// would not stay positive is replaced by the smallest one seen so far, so the
// matrix stays positive definite and s stays a descent direction.
void FletchEngine::rankOneUpdate(std::vector<double> z, double sigma)
{
    const std::size_t n = z.size();
    std::vector<double> v(n);
    for (std::size_t i = 0; i < n; ++i) {
        double sum = z[i];
        for (std::size_t k = 0; k < i; ++k)
            sum -= m_h[columnStart(k) + (i - k)] * v[k];
        v[i] = sum;
    }
    std::vector<double> beta(n);
    for (std::size_t i = 0; i < n; ++i) {
        double &d = m_h[columnStart(i)];
        double dBar = sigma * v[i] * v[i] + d;
        if (dBar <= 0.0)
            dBar = m_dmin;
        if (dBar < m_dmin)
            m_dmin = dBar;
        d = dBar;
        beta[i] = sigma * v[i] / dBar;
        sigma -= dBar * beta[i] * beta[i];
    }
    for (std::size_t j = 0; j + 1 < n; ++j) {
        for (std::size_t r = j + 1; r < n; ++r) {
            double &l = m_h[columnStart(j) + (r - j)];
            z[r] -= v[j] * l;
            l += beta[j] * z[r];
        }
    }
}

void FletchEngine::setTrialPoint(const std::vector<double> &x, double multiplier)
{
    for (std::size_t i = 0; i < x.size(); ++i)
        m_w[i] = x[i] + multiplier * m_s[i];
}

void FletchEngine::setIdentity()
{
    const std::size_t n = m_g.size();
    std::fill(m_h.begin(), m_h.end(), 0.0);
    for (std::size_t i = 0; i < n; ++i)
        m_h[columnStart(i)] = 1.0;
}

// Column i starts after the n, n - 1, ..., n - i + 1 entries of columns
// 0 ... i - 1.
std::size_t FletchEngine::columnStart(std::size_t column) const
{
    const std::size_t n = m_g.size();
    return column * (2 * n + 1 - column) / 2;
}

} // namespace zav
