// Searches one profile-likelihood confidence limit of one quantity (a
// parameter or a convenience function) at one alpha level: the value q at
// which 2 (f(profile optimum at q) - f(estimates)) reaches the chi-squared
// quantile T of the level. It steps out from the estimate, reverses and
// halves the step each time the statistic crosses T, until the step is
// below the precision, then walks to the first grid point on or outside
// the crossing. One object serves the lower and then the upper limit.
#pragma once

#include "estimation/ProfileSolver.h"
#include "expr/Equation.h"
#include "optim/Func.h"

#include <QObject>

#include <memory>
#include <vector>

namespace zav {

class ProfileLikelihoodEstimator : public QObject
{
    Q_OBJECT

public:
    enum Side { Lower = 0, Upper = 1 };

    // Upper (1 - alpha) quantiles of chi-squared with one degree of
    // freedom, for the alpha levels 0.01, 0.05 and 0.10 in index order.
    static constexpr double targetChiSquared[3] = {6.634896601021215, 3.841458820694129, 2.705543454095414};

    // Evaluations of the statistic allowed in one search: a quantity the
    // likelihood does not constrain would otherwise be followed for ever.
    static constexpr int maxSteps = 1000;
    // Unusable statistics (NaN, the cap) tolerated in one search.
    static constexpr int maxFailures = 10;

    // `mleValue`: the profiled quantity at the estimates. `precision`: the
    // precision of the limits, or null for the automatic one (1e-5 for
    // |estimate| < 1, else five significant digits). Neither pointer is
    // owned; the solver is.
    ProfileLikelihoodEstimator(const std::vector<double> &estimates, Func *function, double mleValue,
                               const double *precision, std::unique_ptr<ProfileSolver> solver);

    // The limit of one side. Returns 0 when cancelled; throws NR3::NRError
    // when the optimizer fails or the search gives up.
    double findBound(Side side, double targetChiSquared, const CancelFlag *cancelFlag);

    // Decimals with which the limits are shown: floor(log10(1 / precision)).
    double displayDigits() const { return m_displayDigits; }
    double precision() const;

signals:
    void profileStatus(double mle, double value, double chiSquared, double targetChiSquared);

private:
    double m_maxLogLikelihood;
    double m_mleValue;
    const double *m_precision;
    std::unique_ptr<ProfileSolver> m_solver;
    double m_displayDigits = 0.0;
};

} // namespace zav
