// Every number the results of an estimation show, computed once: the
// summary report, the result tables, the diagnostics and `pelk-cli` all
// render this one record, so they cannot disagree.
#pragma once

#include "estimation/ObservedExpected.h"
#include "likelihood/GoodnessOfFit.h"
#include "model/ProfileLikelihoods.h"
#include "optim/Matrix.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>
#include <vector>

namespace pelk {

class ModelDefinition;
struct EstimationResults;
struct Workspace;

struct EstimationSummary
{
    struct LikelihoodFit
    {
        QString name;
        double logLikelihood = 0.0;
    };
    struct CategoryCount
    {
        QString label;
        int count = 0;
    };
    struct LikelihoodCounts
    {
        QString name;
        qint64 total = 0; // a sum of ints: past the int range with a few large counts
        QList<CategoryCount> categories;
    };
    struct Estimate
    {
        QString name;
        double seed = 0.0; // parameters only
        double estimate = 0.0;
        std::optional<double> standardError; // none without covariance or a valid variance
    };
    struct ProfileInterval
    {
        QString symbol;
        bool isParameter = true;
        int alphaIndex = 0;
        double estimate = 0.0;
        ProfileLimit lower;
        ProfileLimit upper;
        int displayDigits = 0; // decimals with which the limits are shown
    };

    // The points of one quantity's profile likelihood (q, 2 (f(profile at
    // q) - f at the estimates)) from every search and curve run of its
    // requests, with (estimate, 0), in order of q.
    struct ProfileCurve
    {
        QString symbol;
        bool isParameter = true;
        double estimate = 0.0;
        std::optional<double> standardError; // for the quadratic approximation
        std::vector<std::pair<double, double>> points;
    };

    // The convergence check: the largest |df/dtheta_i| max(|theta_i|, s.e._i,
    // 1e-8) at the estimates, the change of the objective per relative step
    // of one parameter, and that parameter's name. At a maximum it is
    // rounding noise; a run that stopped early shows a larger one.
    struct GradientCheck
    {
        double value = 0.0;
        QString parameter;
    };
    // Above this the report warns that the run may have stopped short of
    // the maximum: a thousandth of a log-likelihood unit per relative step
    // is far below any difference an interval or a test can see, and far
    // above what rounding leaves at a converged estimate.
    static constexpr double gradientWarningThreshold = 1e-3;

    int parameterCount = 0;
    double logLikelihood = 0.0;
    double aic = 0.0;
    // n: the observed totals of the multinomial likelihoods (with an
    // unobserved category, the number observed), plus 1 per normal one.
    double sampleSize = 0.0;
    // AICc = AIC + 2k(k + 1)/(n - k - 1) and BIC = k ln n - 2 LL; none when
    // n - k - 1 <= 0, where the small-sample correction has no meaning.
    std::optional<double> aicc;
    std::optional<double> bic;
    // r of the degrees of freedom: the rank of the Hessian (k without a
    // covariance run), less the parameters that are only abundances.
    int freeParameters = 0;
    GoodnessOfFit goodnessOfFit;
    // SHA-256 (hex) of the data: equal for two fits of the same data,
    // whatever their models (see dataFingerprintOf).
    QString dataFingerprint;
    // None when the objective cannot be used at the estimates or the model
    // has no parameters.
    std::optional<GradientCheck> maxGradient;
    bool gradientWarning() const { return maxGradient && !(maxGradient->value <= gradientWarningThreshold); }
    QList<LikelihoodFit> likelihoods;
    // Computed only for models without unobserved categories and normal
    // likelihoods.
    std::optional<int> sufficientStatisticDimension;
    QList<LikelihoodCounts> counts;
    QList<Estimate> parameters;
    QList<ProfileInterval> profiles;
    QList<ProfileCurve> profileCurves; // one per profiled quantity with points
    QList<Estimate> functions;
    std::optional<zav::Matrix> covariance;
    QList<ObservedExpectedRow> observedExpected;

    // More parameters than the data can estimate.
    bool parametersMayNotBeEstimable() const
    {
        return sufficientStatisticDimension && *sufficientStatisticDimension < parameterCount;
    }

    // The workspace's model must be validated. Points every parameter at
    // results.estimates (keep the results alive while the trees are
    // evaluated later). Throws NR3::NRError when the term matrix's
    // decomposition fails.
    static EstimationSummary compute(const Workspace &workspace, const EstimationResults &results);
    // The fingerprint of the workspace's data: the SHA-256 of a text that
    // lists, per likelihood in model order, its name, then its category
    // labels with their counts sorted by label, or a normal likelihood's
    // observed value (at `parameters`, should it name any). Thread-safe.
    static QString dataFingerprintOf(const Workspace &workspace, const std::vector<double> &parameters);
    // Rebuilds profileCurves from the workspace's requests, as compute()
    // does, once more points have been added to them.
    void updateProfileCurves(const Workspace &workspace);
};

} // namespace pelk
