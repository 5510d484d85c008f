#include "estimation/ProfileLimitSearch.h"

#include "optim/Func.h"
#include "optim/NRError.h"

#include <algorithm>
#include <limits>

namespace zav {

namespace {

// Ends a search early from inside a fit: cancelled, or a better optimum.
struct Stop
{};

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

} // namespace

ProfileLimitSearch::ProfileLimitSearch(ProfileFit &fit, const std::vector<double> &estimates, Quantity quantity,
                                       double precision, PointSink sink)
    : m_fit(fit),
      m_quantity(std::move(quantity)),
      m_precision(precision),
      m_sink(std::move(sink)),
      m_solutions{{0.0, estimates}}
{}

double ProfileLimitSearch::precisionFor(double estimate, const double *supplied)
{
    const double precision = supplied ? *supplied
        : std::abs(estimate) < 1.0   ? 1e-5
                                     : std::pow(10.0, std::ceil(std::log10(std::abs(estimate))) - 5.0);
    return std::min(precision, 1.0);
}

double ProfileLimitSearch::statistic(double t, const CancelFlag *cancelFlag)
{
    if (++m_fits > maxFits)
        throw NR3::NRError("Profile likelihood limit not found");
    const double q = m_quantity.estimate + m_sign * t;
    const auto nearest = std::min_element(m_solutions.begin(), m_solutions.end(),
                                          [t](const Solution &a, const Solution &b) {
                                              return std::abs(a.t - t) < std::abs(b.t - t);
                                          });
    std::vector<double> point = nearest->parameters;
    double f = Func::unusable;
    if (!m_quantity.direction.empty()) {
        // The other parameters follow the quantity as the covariance predicts.
        const double dq = m_sign * (t - nearest->t);
        for (std::size_t i = 0; i < point.size(); ++i)
            point[i] += m_quantity.direction[i] * dq;
        f = m_fit.minimum(q, point, cancelFlag);
        if (isCancelled(cancelFlag))
            throw Stop();
        if (!isUsable(f))
            point = nearest->parameters; // the prediction left the usable region
    }
    if (!isUsable(f)) {
        f = m_fit.minimum(q, point, cancelFlag);
        if (isCancelled(cancelFlag))
            throw Stop();
    }
    const double chi = isUsable(f) ? 2.0 * (f - m_quantity.minimum) : notANumber;
    m_sink(q, chi);
    if (chi < -betterOptimumMargin) {
        m_better = {q, f};
        throw Stop();
    }
    if (isUsable(f))
        m_solutions.push_back({t, std::move(point)});
    return chi;
}

double ProfileLimitSearch::statisticAt(double q, const CancelFlag *cancelFlag)
{
    const double sign = q < m_quantity.estimate ? -1.0 : 1.0;
    if (sign != m_sign) {
        m_sign = sign;
        m_solutions.resize(1); // the estimates
    }
    m_fits = 0;
    try {
        return statistic(std::abs(q - m_quantity.estimate), cancelFlag);
    } catch (const Stop &) {
    } catch (const NR3::NRError &) {
    }
    return notANumber;
}

ProfileLimitSearch::Result ProfileLimitSearch::find(Side side, double target, const CancelFlag *cancelFlag)
{
    using pelk::ProfileLimitStatus;
    m_sign = side == Lower ? -1.0 : 1.0;
    m_fits = 0;
    m_better.reset();
    m_solutions.resize(1); // the estimates

    Result result;
    const long costBefore = m_fit.evaluationCost();
    const double rootT = std::sqrt(target);
    const auto root = [rootT](double chi) { return std::sqrt(std::max(chi, 0.0)) - rootT; };
    const auto at = [&](double t) { return m_quantity.estimate + m_sign * t; };
    const auto end = [&](ProfileLimitStatus status, double t) {
        result.limit = {status, at(t)};
        result.fits = m_fits;
        result.evaluationCost = m_fit.evaluationCost() - costBefore;
        return result;
    };

    // Without a standard error the first step follows the estimate's size,
    // but is never below 0.1: an estimate near 0 says nothing of the scale.
    const double absolute = std::abs(m_quantity.estimate);
    const double firstStep = m_quantity.standardError ? rootT * *m_quantity.standardError
        : absolute > 1000.0                           ? 0.4 * absolute
                                                      : 0.1 * std::max(absolute, 1.0);
    const double reach = openReach * (m_quantity.standardError ? *m_quantity.standardError : firstStep);

    try {
        // Expand from the estimate (t = 0, r = -sqrt(T)) until r >= 0.
        double inside = 0.0, insideRoot = -rootT; // the farthest point below T
        double outside = firstStep, outsideRoot = 0.0;
        bool usable = true;
        for (;;) {
            const double chi = statistic(outside, cancelFlag);
            if (std::isnan(chi)) {
                usable = false;
                break;
            }
            outsideRoot = root(chi);
            if (outsideRoot >= 0.0)
                break;
            if (outside >= reach)
                return end(ProfileLimitStatus::Open, outside);
            // The secant through the last two points, overshot a little so
            // that a straight r is bracketed at once; at least half as far
            // again, at most four times as far.
            const double slope = (outsideRoot - insideRoot) / (outside - inside);
            const double predicted = slope > 0.0 ? outside - outsideRoot / slope : 4.0 * outside;
            const double next = std::clamp(outside + 1.1 * (predicted - outside), 1.5 * outside, 4.0 * outside);
            inside = outside;
            insideRoot = outsideRoot;
            outside = std::min(next, reach);
        }

        if (!usable) {
            // Bisect towards the edge of the usable region until r crosses
            // 0 or the edge is located to the precision.
            double unusable = outside;
            for (;;) {
                if (unusable - inside <= m_precision)
                    return end(ProfileLimitStatus::AtBound, inside);
                const double middle = 0.5 * (inside + unusable);
                const double chi = statistic(middle, cancelFlag);
                if (std::isnan(chi)) {
                    unusable = middle;
                    continue;
                }
                const double r = root(chi);
                if (r >= 0.0) {
                    outside = middle;
                    outsideRoot = r;
                    break;
                }
                inside = middle;
                insideRoot = r;
            }
        }

        // Illinois: regula falsi, halving the value kept at an end that
        // stays twice running. A trial is kept at least 0.4 precision inside
        // the bracket, so a root near one end closes it. Where r is far from
        // straight (a statistic that explodes beyond the limit) the bracket
        // may shrink slowly: when three trials running have not halved it, the
        // next one bisects it.
        int lastMoved = 0; // -1 the inside end, +1 the outside end
        double halvedFrom = outside - inside;
        int slowTrials = 0;
        while (outside - inside > m_precision) {
            const double margin = 0.4 * m_precision;
            double t = slowTrials >= 3 ? 0.5 * (inside + outside)
                                       : outside - outsideRoot * (outside - inside) / (outsideRoot - insideRoot);
            t = std::clamp(t, inside + margin, outside - margin);
            const double chi = statistic(t, cancelFlag);
            if (std::isnan(chi))
                throw NR3::NRError("Profile likelihood search failed at unusable points");
            const double r = root(chi);
            if (r == 0.0)
                return end(ProfileLimitStatus::Found, t);
            if (r > 0.0) {
                outside = t;
                outsideRoot = r;
                if (lastMoved == 1)
                    insideRoot /= 2.0;
                lastMoved = 1;
            } else {
                inside = t;
                insideRoot = r;
                if (lastMoved == -1)
                    outsideRoot /= 2.0;
                lastMoved = -1;
            }
            if (outside - inside <= 0.5 * halvedFrom) {
                halvedFrom = outside - inside;
                slowTrials = 0;
            } else {
                ++slowTrials;
            }
        }
        return end(ProfileLimitStatus::Found, outside);
    } catch (const Stop &) {
        result.fits = m_fits;
        result.evaluationCost = m_fit.evaluationCost() - costBefore;
        if (m_better) {
            result.limit = {ProfileLimitStatus::BetterOptimum, m_better->first};
            result.betterLogLikelihood = -m_better->second;
        }
        return result;
    } catch (const NR3::NRError &error) {
        result.fits = m_fits;
        result.evaluationCost = m_fit.evaluationCost() - costBefore;
        result.limit = {ProfileLimitStatus::NotFound, 0.0};
        result.message = QString::fromLatin1(error.message);
        return result;
    }
}

} // namespace zav
