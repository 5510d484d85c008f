#include "estimation/ProfileLikelihoodEstimator.h"

#include "optim/NRError.h"

#include <cmath>
#include <limits>

namespace zav {

ProfileLikelihoodEstimator::ProfileLikelihoodEstimator(const std::vector<double> &estimates, Func *function,
                                                       double mleValue, const double *precision,
                                                       std::unique_ptr<ProfileSolver> solver)
    : m_maxLogLikelihood(-(*function)(estimates)),
      m_mleValue(mleValue),
      m_precision(precision),
      m_solver(std::move(solver))
{}

double ProfileLikelihoodEstimator::precision() const
{
    double prec = m_precision
        ? *m_precision
        : (std::abs(m_mleValue) < 1.0 ? 1e-5
                                      : std::pow(10.0, std::ceil(std::log10(std::abs(m_mleValue))) - 5.0));
    return std::min(prec, 1.0);
}

double ProfileLikelihoodEstimator::findBound(Side side, double target, const CancelFlag *cancelFlag)
{
    const double prec = precision();
    m_displayDigits = std::floor(std::log10(1.0 / prec));
    const double minimum = -m_maxLogLikelihood;
    const double away = side == Lower ? -1.0 : 1.0; // the direction away from the estimate
    double direction = away;
    double x = m_mleValue;
    double d = m_mleValue > 1000.0 ? 0.4 * std::abs(m_mleValue) : 0.1 * std::abs(m_mleValue);
    // An estimate of exactly 0 would give a step of 0, with which the
    // search cannot move: step as for a quantity of size 1.
    if (d == 0.0)
        d = 0.1;

    int steps = 0;
    auto statistic = [&](double q) {
        if (++steps > maxSteps)
            throw NR3::NRError("Profile likelihood limit not found");
        return m_solver->chiSquared(q, minimum, cancelFlag);
    };

    double chi = statistic(x); // at the estimate itself; not reported
    if (isCancelled(cancelFlag))
        return 0.0;

    int failures = 0;
    while (d > prec) {
        x += direction * d;
        chi = statistic(x);
        if (isCancelled(cancelFlag))
            return 0.0;
        emit profileStatus(m_mleValue, x, chi, target);
        if (std::isnan(chi) || chi >= std::numeric_limits<double>::max()) {
            // An unusable point: step back and approach it more carefully.
            if (++failures > maxFailures)
                throw NR3::NRError("Profile likelihood search failed at unusable points");
            x -= direction * d;
            d /= 2.0;
            continue;
        }
        // Move away from the estimate while below T, back while above it;
        // each reversal halves the step.
        if (direction == away && chi > target) {
            d /= 2.0;
            direction = -away;
        } else if (direction == -away && chi < target) {
            d /= 2.0;
            direction = away;
        }
    }

    if (chi == target)
        return x;
    // Walk to the crossing: from beyond it towards the estimate, from
    // inside it away from the estimate.
    const bool beyond = chi > target;
    direction = beyond ? -away : away;
    while ((beyond && chi > target) || (!beyond && chi < target)) {
        x += direction * d;
        chi = statistic(x);
        if (isCancelled(cancelFlag))
            return 0.0;
        emit profileStatus(m_mleValue, x, chi, target);
    }
    // The last point with chi > T, or the first with chi >= T: a grid point
    // on or just outside the interval, within one step of the crossing.
    return beyond ? x - direction * d : x;
}

} // namespace zav
