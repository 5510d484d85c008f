// Every number the results of an estimation show, computed once: the
// summary report, the result tables, the diagnostics and `pelk-cli` all
// render this one record, so they cannot disagree.
#pragma once

#include "estimation/ObservedExpected.h"
#include "optim/Matrix.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>
#include <vector>

namespace pelk {

class ModelDefinition;
class ProfileLikelihoods;
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
        std::optional<double> lower; // none when that side was not found
        std::optional<double> upper;
        int displayDigits = 0; // decimals with which the limits are shown
    };

    int parameterCount = 0;
    double logLikelihood = 0.0;
    double aic = 0.0;
    QList<LikelihoodFit> likelihoods;
    // Computed only for models without unobserved categories and normal
    // likelihoods.
    std::optional<int> sufficientStatisticDimension;
    QList<LikelihoodCounts> counts;
    QList<Estimate> parameters;
    QList<ProfileInterval> profiles;
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
};

} // namespace pelk
