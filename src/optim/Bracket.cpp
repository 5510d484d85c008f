#include "optim/Bracket.h"

#include "optim/LineSearchMath.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zav {

namespace {

// Each golden step enlarges the last interval by this ratio.
constexpr double gold = 1.618034;
// A parabolic step may reach at most this many times the last interval.
constexpr double parabolicLimit = 100.0;
// Keeps the parabola's denominator away from zero when the three points are
// nearly collinear.
constexpr double tiny = 1.0e-20;

} // namespace

void Bracket::searchFrom(double a, double b, LineFunction &f)
{
    ax = a;
    bx = b;
    fa = f(ax);
    fb = f(bx);
    // Walk downhill: from a towards b.
    if (fb > fa) {
        std::swap(ax, bx);
        std::swap(fb, fa);
    }
    cx = bx + gold * (bx - ax);
    fc = f(cx);
    while (fb > fc) {
        // u is the vertex of the parabola through a, b, c.
        const double r = (bx - ax) * (fb - fc);
        const double q = (bx - cx) * (fb - fa);
        double u = bx
            - ((bx - cx) * q - (bx - ax) * r) / (2.0 * withSignOf(std::max(std::abs(q - r), tiny), q - r));
        const double ulim = bx + parabolicLimit * (cx - bx);
        double fu = 0.0;
        if ((bx - u) * (u - cx) > 0.0) {
            // Between b and c: a minimum between b and c, or between a and u.
            fu = f(u);
            if (fu < fc) {
                ax = bx;
                bx = u;
                fa = fb;
                fb = fu;
                return;
            }
            if (fu > fb) {
                cx = u;
                fc = fu;
                return;
            }
            u = cx + gold * (cx - bx);
            fu = f(u);
        } else if ((cx - u) * (u - ulim) > 0.0) {
            // Beyond c but within the limit.
            fu = f(u);
            if (fu < fc) {
                shiftDown(bx, cx, u, u + gold * (u - cx));
                shiftDown(fb, fc, fu, f(u));
            }
        } else if ((u - ulim) * (ulim - cx) >= 0.0) {
            // At or beyond the limit: clip to it.
            u = ulim;
            fu = f(u);
        } else {
            // The parabola's vertex lies back towards a: take a golden step.
            u = cx + gold * (cx - bx);
            fu = f(u);
        }
        shiftDown(ax, bx, cx, u);
        shiftDown(fa, fb, fc, fu);
    }
}

} // namespace zav
