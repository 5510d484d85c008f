#include "optim/PowellEngine.h"

#include "optim/NRError.h"

#include <cmath>

namespace zav {

namespace {

// Keeps the convergence test meaningful at a minimum whose value is 0.
constexpr double tiny = 1.0e-25;

double square(double x)
{
    return x * x;
}

} // namespace

PowellEngine::PowellEngine(Func &function, double fractionalTolerance, int maxIterations,
                           const CancelFlag *cancelFlag)
    : function(function),
      ftol(fractionalTolerance),
      maxIterations(maxIterations),
      cancelFlag(cancelFlag),
      lineMinimizer(function, cancelFlag)
{}

std::vector<double> PowellEngine::minimize(const std::vector<double> &start)
{
    n = int(start.size());
    ximat = Matrix::identity(n);
    p = start;
    xi.assign(n, 0.0);
    ptt.assign(n, 0.0);
    fret = function(p);
    pt = p;
    iter = 0;
    if (isCancelled(cancelFlag))
        return p;
    for (;;) {
        const double fp = fret;
        // The direction of largest decrease (one-based, 0 for none) and the
        // decrease; the first direction wins ties.
        int ibig = 0;
        double del = 0.0;
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j)
                xi[j] = ximat(j, i);
            const double fptt = fret;
            fret = lineMinimizer.minimize(p, xi);
            if (fptt - fret > del) {
                del = fptt - fret;
                ibig = i + 1;
            }
        }
        // Converged when 2 (fp - fret) <= ftol (|fp| + |fret|) + tiny.
        if (2.0 * (fp - fret) <= ftol * (std::abs(fp) + std::abs(fret)) + tiny)
            return p;
        if (iter == maxIterations)
            throw NR3::NRError("Maximum number of iterations exceeded");
        // xi becomes the net displacement of this iteration; ptt extrapolates
        // the point as far again along it.
        for (int j = 0; j < n; ++j) {
            ptt[j] = 2.0 * p[j] - pt[j];
            xi[j] = p[j] - pt[j];
            pt[j] = p[j];
        }
        const double fptt = function(ptt);
        if (fptt < fp) {
            // Adopt the displacement as a direction only when the largest
            // single decrease was not most of the gain and the function still
            // curves upwards along it, so the directions stay independent.
            const double t
                = 2.0 * (fp - 2.0 * fret + fptt) * square(fp - fret - del) - del * square(fp - fptt);
            if (t < 0.0) {
                fret = lineMinimizer.minimize(p, xi);
                replaceDirection(ibig);
            }
        }
        ++iter;
        if (isCancelled(cancelFlag))
            return p;
    }
}

void PowellEngine::replaceDirection(int ibig)
{
    // No direction decreased the function: only an objective that answers
    // differently at the same point gets here, and there is no direction to
    // drop.
    if (ibig == 0)
        return;
    // The direction of largest decrease gives way to the last one, whose place
    // the new direction takes.
    for (int j = 0; j < n; ++j) {
        ximat(j, ibig - 1) = ximat(j, n - 1);
        ximat(j, n - 1) = xi[j];
    }
}

} // namespace zav
