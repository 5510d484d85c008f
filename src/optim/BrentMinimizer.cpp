#include "optim/BrentMinimizer.h"

#include "optim/LineSearchMath.h"
#include "optim/NRError.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zav {

namespace {

// Iterations before the search gives up.
constexpr int maxIterations = 100;
// The golden-section step: the fraction 1 - 1/1.618034 of the larger part.
constexpr double cgold = 0.381966;
// Absolute precision near an abscissa of 0, where tol |x| vanishes.
constexpr double zeps = std::numeric_limits<double>::epsilon() * 1.0e-3;

} // namespace

double BrentMinimizer::minimize(const Bracket &bracket, LineFunction &f, const CancelFlag *cancelFlag)
{
    // a < b enclose the minimum; x is the best point so far, w the second
    // best, v the previous w; u is the latest evaluation.
    double a = std::min(bracket.ax, bracket.cx);
    double b = std::max(bracket.ax, bracket.cx);
    double x = bracket.bx;
    double w = x;
    double v = x;
    double fx = f(x);
    double fw = fx;
    double fv = fx;
    double d = 0.0;
    double e = 0.0; // the step before last
    for (int iter = 0; iter < maxIterations; ++iter) {
        if (isCancelled(cancelFlag))
            return 0.0;
        const double xm = 0.5 * (a + b);
        const double tol1 = tol * std::abs(x) + zeps;
        const double tol2 = 2.0 * tol1;
        if (std::abs(x - xm) <= tol2 - 0.5 * (b - a)) {
            fmin = fx;
            xmin = x;
            return x;
        }
        const auto goldenStep = [&] {
            e = x >= xm ? a - x : b - x;
            d = cgold * e;
        };
        if (std::abs(e) > tol1) {
            // A parabola through x, w and v.
            const double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2.0 * (q - r);
            if (q > 0.0)
                p = -p;
            q = std::abs(q);
            const double etemp = e;
            e = d;
            // Accepted only when it moves less than half the step before last
            // and stays inside (a, b).
            if (std::abs(p) >= std::abs(0.5 * q * etemp) || p <= q * (a - x) || p >= q * (b - x)) {
                goldenStep();
            } else {
                d = p / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2)
                    d = withSignOf(tol1, xm - x);
            }
        } else {
            goldenStep();
        }
        // Never evaluate closer to x than tol1.
        const double u = std::abs(d) >= tol1 ? x + d : x + withSignOf(tol1, d);
        const double fu = f(u);
        if (fu <= fx) {
            if (u >= x)
                a = x;
            else
                b = x;
            shiftDown(v, w, x, u);
            shiftDown(fv, fw, fx, fu);
        } else {
            if (u < x)
                a = u;
            else
                b = u;
            if (fu <= fw || w == x) {
                v = w;
                w = u;
                fv = fw;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    throw NR3::NRError("Too many iterations in brent");
}

} // namespace zav
