// Searches one profile-likelihood confidence limit: the value q of the
// profiled quantity, on one side of its estimate, at which the statistic
// chi2(q) = 2 (f(profile optimum at q) - f(estimates)) reaches the
// chi-squared quantile T of the level.
//
// The search works on the signed root r = sqrt(chi2) - sqrt(T) as a
// function of the distance t = |q - estimate|: for a normal-like profile r
// is nearly linear in t, so secant steps find it in a few fits. It starts
// at sqrt(T) standard errors when the covariance is known, expands by
// secant steps (at most fourfold) until the root is bracketed, and closes
// the bracket by the Illinois variant of regula falsi to the search's
// precision. Each fit starts from the solution of the nearest value
// already fitted, moved along the covariance's prediction of how the
// other parameters follow the quantity.
//
// Every search ends in one state (ProfileLimitStatus): the limit found,
// on or just outside the interval within the precision; the last usable
// value when the model cannot be evaluated beyond it (found by bisection);
// the farthest value tried (openReach standard errors, or first steps
// without a covariance) when the profile stays below T; not found, with the failure's message; or a better
// optimum, when a fit beats the estimates.
#pragma once

#include "estimation/ProfileFit.h"
#include "model/ProfileLikelihoods.h"

#include <QString>

#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace zav {

class ProfileLimitSearch
{
public:
    enum Side { Lower = 0, Upper = 1 };

    // Upper (1 - alpha) quantiles of chi-squared with one degree of
    // freedom, for the alpha levels 0.01, 0.05 and 0.10 in index order.
    static constexpr double targetChiSquared[3] = {6.634896601021215, 3.841458820694129, 2.705543454095414};

    // Fits allowed in one search; the steps above need a few dozen at most.
    static constexpr int maxFits = 200;
    // How far out the search looks, in standard errors, before it calls a
    // side open: a profile still below T there does not bound the quantity.
    static constexpr double openReach = 1000.0;
    // A statistic below minus this is not rounding: the fit found a higher
    // likelihood than the estimates.
    static constexpr double betterOptimumMargin = 0.01;

    // What the search knows of the profiled quantity.
    struct Quantity
    {
        double estimate = 0.0; // the quantity at the estimates
        double minimum = 0.0; // f at the estimates
        // From the covariance matrix, when there is one: the quantity's
        // standard error and d(parameters)/dq along the covariance,
        // S grad h / (grad h' S grad h).
        std::optional<double> standardError;
        std::vector<double> direction;
    };

    struct Result
    {
        pelk::ProfileLimit limit;
        QString message; // why a search was not found
        double betterLogLikelihood = 0.0; // for BetterOptimum
        int fits = 0;
        long evaluationCost = 0; // the fits' work (ProfileFit::evaluationCost)
    };

    // Each fitted point (q, chi2; NaN where unusable) goes to the sink as
    // the search makes it.
    using PointSink = std::function<void(double q, double chiSquared)>;

    ProfileLimitSearch(ProfileFit &fit, const std::vector<double> &estimates, Quantity quantity, double precision,
                       PointSink sink);

    // The limit of one side; its value is meaningless when cancelled.
    Result find(Side side, double target, const CancelFlag *cancelFlag);

    // The statistic at q, on the side of the estimate q lies on, fitted
    // from the nearest value fitted before on that side (so a sweep away
    // from the estimate warm-starts each fit); NaN where the model cannot
    // be evaluated, the fit fails, or the search was cancelled. The point
    // also goes to the sink.
    double statisticAt(double q, const CancelFlag *cancelFlag);

    // The automatic precision: 1e-5 for |estimate| < 1, else five
    // significant digits; a supplied one (null: none) is used instead; at
    // most 1 either way.
    static double precisionFor(double estimate, const double *supplied);
    // Decimals with which the limits are shown: floor(log10(1 / precision)).
    static double displayDigits(double precision) { return std::floor(std::log10(1.0 / precision)); }

private:
    struct Solution
    {
        double t;
        std::vector<double> parameters;
    };
    // chi2 at distance t, or NaN where the model cannot be evaluated.
    double statistic(double t, const CancelFlag *cancelFlag);

    ProfileFit &m_fit;
    Quantity m_quantity;
    double m_precision;
    PointSink m_sink;
    double m_sign = 1.0; // of q - estimate on the side searched
    std::vector<Solution> m_solutions;
    int m_fits = 0;
    std::optional<std::pair<double, double>> m_better; // (q, f) of a fit that beat the estimates
};

} // namespace zav
