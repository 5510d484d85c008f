#include "estimation/EstimationSummary.h"

#include "estimation/EstimationResults.h"
#include "likelihood/CompiledFormula.h"
#include "likelihood/DeltaMethod.h"
#include "likelihood/Estimability.h"
#include "likelihood/FitStatistics.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "model/Workspace.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cmath>

namespace pelk {

namespace {

QList<EstimationSummary::LikelihoodCounts> countsByLikelihood(const ModelDefinition &model,
                                                              const QMap<QString, int> &categoryCounts)
{
    QList<EstimationSummary::LikelihoodCounts> result;
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        if (!model.isMultinomial(id))
            continue;
        EstimationSummary::LikelihoodCounts counts {model.likelihoodName(id), 0, {}};
        for (int i = 0; i < model.categoryCount(id); ++i) {
            const QString label = model.categoryLabel(id, i);
            const int count = categoryCounts.value(label, 0);
            counts.total += count;
            counts.categories.append({label, count});
        }
        result.append(counts);
    }
    return result;
}

// The requests of one container in key order: symbol position, then level.
void appendProfiles(QList<EstimationSummary::ProfileInterval> &profiles, const ProfileLikelihoods &requests,
                    bool isParameter, const ModelDefinition &model, const std::vector<double> &estimates)
{
    for (const auto &[key, result] : requests) {
        const auto [index, alphaIndex] = key;
        const int symbolCount = isParameter ? model.parameterCount() : model.variableCount();
        if (index >= symbolCount)
            continue;
        EstimationSummary::ProfileInterval interval;
        interval.isParameter = isParameter;
        interval.alphaIndex = alphaIndex;
        if (isParameter) {
            interval.symbol = model.parameterName(index);
            interval.estimate = estimates.at(std::size_t(index));
        } else {
            interval.symbol = model.variableName(index);
            interval.estimate = model.variableEquation(index)->evaluate();
        }
        interval.lower = result.lower;
        interval.upper = result.upper;
        interval.displayDigits = int(result.displayDigits);
        profiles.append(interval);
    }
}

// One curve per quantity of the container that has points, gathered from
// the results of all its levels; `estimates` are the quantities' own, by
// symbol position.
void appendCurves(QList<EstimationSummary::ProfileCurve> &curves, const ProfileLikelihoods &requests,
                  const QList<EstimationSummary::Estimate> &estimates, bool isParameter)
{
    for (auto it = requests.begin(); it != requests.end();) {
        const int index = it->first.first;
        std::vector<std::pair<double, double>> points;
        for (; it != requests.end() && it->first.first == index; ++it)
            points.insert(points.end(), it->second.points.begin(), it->second.points.end());
        if (points.empty() || index >= estimates.size())
            continue;
        const EstimationSummary::Estimate &estimate = estimates.at(index);
        points.emplace_back(estimate.estimate, 0.0);
        std::sort(points.begin(), points.end());
        points.erase(std::unique(points.begin(), points.end()), points.end());
        curves.append({estimate.name, isParameter, estimate.estimate, estimate.standardError, std::move(points)});
    }
}

std::optional<EstimationSummary::GradientCheck> largestScaledGradient(const ModelDefinition &model,
                                                           PelkLikelihoodFunc &function,
                                                           const std::vector<double> &estimates,
                                                           const zav::Matrix *covariance)
{
    std::vector<double> gradient;
    if (!zav::isUsable(function.valueAndGradient(estimates, gradient)))
        return std::nullopt;
    std::optional<EstimationSummary::GradientCheck> largest;
    for (int i = 0; i < model.parameterCount(); ++i) {
        const double estimate = estimates.at(std::size_t(i));
        double scale = std::max(std::abs(estimate), 1e-8);
        if (covariance && std::isfinite((*covariance)(i, i)) && (*covariance)(i, i) > 0.0)
            scale = std::max(scale, std::sqrt((*covariance)(i, i)));
        const double value = std::abs(gradient[std::size_t(i)]) * scale;
        // A NaN derivative counts as the largest of all: it cannot vouch
        // for the fit.
        const bool larger
            = !largest || (std::isnan(value) ? !std::isnan(largest->value) : value > largest->value);
        if (larger)
            largest = EstimationSummary::GradientCheck{value, model.parameterName(i)};
    }
    return largest;
}

// The fingerprint of dataFingerprintOf, from the counts of the multinomial
// likelihoods in model order (countsByLikelihood).
QString fingerprint(const ModelDefinition &model, const QList<EstimationSummary::LikelihoodCounts> &counts,
                    const std::vector<double> &parameters)
{
    using CategoryCount = EstimationSummary::CategoryCount;
    auto multinomial = counts.cbegin(); // the counts list holds the multinomial likelihoods in model order
    QString text;
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        text += QStringLiteral("likelihood\t") + model.likelihoodName(id) + u'\n';
        if (!model.isMultinomial(id)) {
            const zav::Equation *observed = model.observedEquation(id);
            const double value = observed
                ? CompiledFormula(*observed, model.parameterCount()).value(parameters)
                : std::nan("");
            text += QStringLiteral("observed\t") + QString::number(value, 'g', 17) + u'\n';
            continue;
        }
        QList<CategoryCount> categories = (multinomial++)->categories;
        std::sort(categories.begin(), categories.end(),
                  [](const CategoryCount &a, const CategoryCount &b) { return a.label < b.label; });
        for (const CategoryCount &category : std::as_const(categories))
            text += category.label + u'\t' + QString::number(category.count) + u'\n';
    }
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

} // namespace

EstimationSummary EstimationSummary::compute(const Workspace &workspace, const EstimationResults &results)
{
    const ModelDefinition &model = workspace.model;
    const QMap<QString, int> &categoryCounts = workspace.categoryCounts;
    const std::vector<double> &seeds = workspace.seeds;
    EstimationSummary summary;
    const std::vector<double> &estimates = results.estimates;
    // Every category compiled: the goodness of fit reads the zero counts'
    // probabilities too.
    PelkLikelihoodFunc function(model, categoryCounts, true);
    const FitStatistics fit(model, function, estimates);
    model.pointParametersAt(&estimates);
    summary.parameterCount = fit.parameterCount();
    summary.logLikelihood = fit.logLikelihood();
    summary.aic = fit.aic();
    summary.sampleSize = function.sampleSize();
    const double k = summary.parameterCount, n = summary.sampleSize;
    if (n - k - 1.0 > 0.0) {
        summary.aicc = summary.aic + 2.0 * k * (k + 1.0) / (n - k - 1.0);
        summary.bic = k * std::log(n) - 2.0 * summary.logLikelihood;
    }
    summary.freeParameters
        = function.freeParameterCount(results.hessianRank.value_or(summary.parameterCount));
    summary.goodnessOfFit = function.goodnessOfFit(estimates, summary.freeParameters);
    for (int position = 0; position < model.likelihoodCount(); ++position)
        summary.likelihoods.append({model.likelihoodName(model.likelihoodId(position)),
                                    fit.likelihoodLogLikelihoods().at(std::size_t(position))});
    if (isEstimabilityDecidable(model))
        summary.sufficientStatisticDimension = pelk::sufficientStatisticDimension(model);
    summary.counts = countsByLikelihood(model, categoryCounts);
    summary.dataFingerprint = fingerprint(model, summary.counts, estimates);

    const zav::Matrix *covariance = results.covarianceAvailable ? &results.covariance : nullptr;
    if (covariance)
        summary.covariance = *covariance;
    summary.maxGradient = largestScaledGradient(model, function, estimates, covariance);
    for (int i = 0; i < model.parameterCount(); ++i) {
        Estimate parameter {model.parameterName(i), i < int(seeds.size()) ? seeds[std::size_t(i)] : 0.0,
                            estimates.at(std::size_t(i)), std::nullopt};
        if (covariance)
            parameter.standardError = std::sqrt((*covariance)(i, i));
        summary.parameters.append(parameter);
    }

    appendProfiles(summary.profiles, workspace.parameterRequests, true, model, estimates);
    appendProfiles(summary.profiles, workspace.variableRequests, false, model, estimates);
    for (int i = 0; i < model.variableCount(); ++i) {
        const zav::Equation *tree = model.variableEquation(i);
        Estimate function {model.variableName(i), 0.0, tree->evaluate(), std::nullopt};
        bool ok = false;
        const double variance = deltaMethodVariance(*tree, estimates, covariance, ok);
        if (ok)
            function.standardError = std::sqrt(variance);
        summary.functions.append(function);
    }
    summary.updateProfileCurves(workspace);
    summary.observedExpected = observedExpectedRows(model, estimates, categoryCounts);
    return summary;
}

QString EstimationSummary::dataFingerprintOf(const Workspace &workspace,
                                             const std::vector<double> &parameters)
{
    return fingerprint(workspace.model, countsByLikelihood(workspace.model, workspace.categoryCounts),
                       parameters);
}

void EstimationSummary::updateProfileCurves(const Workspace &workspace)
{
    profileCurves.clear();
    appendCurves(profileCurves, workspace.parameterRequests, parameters, true);
    appendCurves(profileCurves, workspace.variableRequests, functions, false);
}

} // namespace pelk
