#include "optim/SimplexEngine.h"

#include "optim/NRError.h"

#include <cmath>
#include <utility>

namespace zav {

namespace {

// Trial factors: reflect the highest vertex through the opposite face, then
// expand twice as far when that made it the best, or contract half-way
// towards the face when it is still the worst.
constexpr double reflection = -1.0;
constexpr double expansion = 2.0;
constexpr double contraction = 0.5;
// Every vertex but the best moves half-way towards the best on a shrink.
constexpr double shrink = 0.5;
// Keeps the relative spread defined when the vertex values are all 0.
constexpr double tiny = 1.0e-10;

} // namespace

SimplexEngine::SimplexEngine(Func &function, double fractionalTolerance, int maxFuncEvaluations,
                             double stepSize)
    : function(function),
      ftol(fractionalTolerance),
      maxFuncEvaluations(maxFuncEvaluations),
      stepSize(stepSize)
{}

std::vector<double> SimplexEngine::minimize(const std::vector<double> &start, const CancelFlag *cancelFlag)
{
    buildSimplex(start);
    computeColumnSums();
    for (;;) {
        int ilo = 0;
        int ihi = 0;
        int inhi = 0;
        rankVertices(ilo, ihi, inhi);
        // Converged when 2|y_hi - y_lo| < ftol (|y_lo| + |y_hi| + tiny).
        const double rtol = 2.0 * std::abs(y[ihi] - y[ilo]) / (std::abs(y[ilo]) + std::abs(y[ihi]) + tiny);
        if (rtol < ftol) {
            keepLowestInRowZero(ilo);
            break;
        }
        // The budget is tested before the cancel flag, so a run that is out of
        // evaluations fails even when it was also cancelled.
        if (nfunc >= maxFuncEvaluations)
            throw NR3::NRError("Maximum number of iterations exceeded");
        if (isCancelled(cancelFlag))
            break;
        // Counts the reflection and the expansion or contraction that follows.
        nfunc += 2;
        const double ytry = tryStep(ihi, reflection);
        if (ytry <= y[ilo]) {
            tryStep(ihi, expansion);
        } else if (ytry >= y[inhi]) {
            const double ysave = y[ihi];
            if (tryStep(ihi, contraction) >= ysave) {
                shrinkTowards(ilo);
                nfunc += ndim;
                computeColumnSums();
            }
        } else {
            // Only the reflection was needed.
            --nfunc;
        }
    }
    return pmin;
}

void SimplexEngine::buildSimplex(const std::vector<double> &start)
{
    ndim = int(start.size());
    mpts = ndim + 1;
    nfunc = 0;
    // Row 0 is the start point; row i moves coordinate i - 1 by stepSize times
    // its start value, so a start value of 0 gives that direction no extent.
    p.assign(mpts, ndim);
    for (int i = 0; i < mpts; ++i) {
        for (int j = 0; j < ndim; ++j)
            p(i, j) = start[j];
        if (i > 0)
            p(i, i - 1) += start[i - 1] * stepSize;
    }
    psum.assign(ndim, 0.0);
    pmin.assign(ndim, 0.0);
    ptry.assign(ndim, 0.0);
    // The initial evaluations are not counted against the budget.
    y.assign(mpts, 0.0);
    std::vector<double> vertex(ndim);
    for (int i = 0; i < mpts; ++i) {
        for (int j = 0; j < ndim; ++j)
            vertex[j] = p(i, j);
        y[i] = function(vertex);
    }
}

void SimplexEngine::computeColumnSums()
{
    for (int j = 0; j < ndim; ++j) {
        double sum = 0.0;
        for (int i = 0; i < mpts; ++i)
            sum += p(i, j);
        psum[j] = sum;
    }
}

void SimplexEngine::rankVertices(int &ilo, int &ihi, int &inhi) const
{
    ilo = 0;
    // A simplex of one vertex (no parameters) has nothing to rank.
    if (mpts < 2) {
        ihi = inhi = 0;
        return;
    }
    if (y[0] > y[1]) {
        ihi = 0;
        inhi = 1;
    } else {
        ihi = 1;
        inhi = 0;
    }
    // Ties for the lowest go to the later vertex, ties for the highest stay
    // with the earlier one.
    for (int i = 0; i < mpts; ++i) {
        if (y[i] <= y[ilo])
            ilo = i;
        if (y[i] > y[ihi]) {
            inhi = ihi;
            ihi = i;
        } else if (y[i] > y[inhi] && i != ihi) {
            inhi = i;
        }
    }
}

void SimplexEngine::keepLowestInRowZero(int ilo)
{
    std::swap(y[0], y[ilo]);
    for (int j = 0; j < ndim; ++j) {
        std::swap(p(0, j), p(ilo, j));
        pmin[j] = p(0, j);
    }
}

void SimplexEngine::shrinkTowards(int ilo)
{
    for (int i = 0; i < mpts; ++i) {
        if (i == ilo)
            continue;
        // psum holds the shrunk vertex while it is evaluated; the caller
        // recomputes the sums afterwards.
        for (int j = 0; j < ndim; ++j)
            p(i, j) = psum[j] = shrink * (p(i, j) + p(ilo, j));
        y[i] = function(psum);
    }
}

double SimplexEngine::tryStep(int ihi, double factor)
{
    // The trial point lies on the line from vertex ihi through the centroid
    // of the other vertices, `factor` times as far from the centroid.
    const double fac1 = (1.0 - factor) / ndim;
    const double fac2 = fac1 - factor;
    for (int j = 0; j < ndim; ++j)
        ptry[j] = psum[j] * fac1 - p(ihi, j) * fac2;
    const double ytry = function(ptry);
    if (ytry < y[ihi]) {
        y[ihi] = ytry;
        for (int j = 0; j < ndim; ++j) {
            psum[j] += ptry[j] - p(ihi, j);
            p(ihi, j) = ptry[j];
        }
    }
    return ytry;
}

} // namespace zav
