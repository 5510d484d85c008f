#include "io/SummaryJsonWriter.h"

#include "estimation/EstimationSummary.h"
#include "model/ProfileLikelihoods.h"

#include <QJsonArray>

#include <cmath>

namespace pelk {

QJsonValue SummaryJsonWriter::number(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonValue SummaryJsonWriter::number(const std::optional<double> &value)
{
    return value ? number(*value) : QJsonValue(QJsonValue::Null);
}

namespace {

// A limit's value where it says something: found, or the last value before
// the model could no longer be evaluated.
QJsonValue limitValue(const ProfileLimit &limit)
{
    const bool given = limit.status == ProfileLimitStatus::Found || limit.status == ProfileLimitStatus::AtBound;
    return given ? SummaryJsonWriter::number(limit.value) : QJsonValue(QJsonValue::Null);
}

QString statusName(ProfileLimitStatus status)
{
    switch (status) {
    case ProfileLimitStatus::Found:
        return QStringLiteral("found");
    case ProfileLimitStatus::AtBound:
        return QStringLiteral("atBound");
    case ProfileLimitStatus::Open:
        return QStringLiteral("open");
    case ProfileLimitStatus::BetterOptimum:
        return QStringLiteral("betterOptimum");
    case ProfileLimitStatus::NotFound:
        break;
    }
    return QStringLiteral("notFound");
}

} // namespace

QJsonObject SummaryJsonWriter::write(const Run &run, const EstimationSummary *summary)
{
    QJsonObject json;
    const QJsonValue null(QJsonValue::Null);
    json[QStringLiteral("name")] = run.name.isEmpty() ? null : QJsonValue(run.name);
    json[QStringLiteral("valid")] = run.valid;
    json[QStringLiteral("optimizer")] = run.optimizer;
    json[QStringLiteral("log")] = QJsonArray::fromStringList(run.log);
    json[QStringLiteral("errors")] = QJsonArray::fromStringList(run.errors);

    QJsonArray likelihoods, parameters, functions, profiles, observedExpected;
    QJsonValue covariance = null;
    if (summary) {
        json[QStringLiteral("logLikelihood")] = number(summary->logLikelihood);
        json[QStringLiteral("aic")] = number(summary->aic);
        json[QStringLiteral("parameterCount")] = summary->parameterCount;
        json[QStringLiteral("sampleSize")] = number(summary->sampleSize);
        json[QStringLiteral("aicc")] = number(summary->aicc);
        json[QStringLiteral("bic")] = number(summary->bic);
        json[QStringLiteral("dataFingerprint")] = summary->dataFingerprint;
        const GoodnessOfFit &fit = summary->goodnessOfFit;
        const auto text = [&](const QString &value) { return value.isEmpty() ? null : QJsonValue(value); };
        json[QStringLiteral("goodnessOfFit")]
            = QJsonObject {{QStringLiteral("deviance"), number(fit.deviance)},
                           {QStringLiteral("pearson"), number(fit.pearson)},
                           {QStringLiteral("df"), fit.df ? QJsonValue(*fit.df) : null},
                           {QStringLiteral("devianceP"), number(fit.devianceP)},
                           {QStringLiteral("pearsonP"), number(fit.pearsonP)},
                           {QStringLiteral("chat"), number(fit.chat)},
                           {QStringLiteral("warning"), text(fit.warning)},
                           {QStringLiteral("reason"), text(fit.reason)}};
        json[QStringLiteral("maxGradient")] = summary->maxGradient
            ? QJsonValue(QJsonObject {{QStringLiteral("value"), number(summary->maxGradient->value)},
                                      {QStringLiteral("parameter"), summary->maxGradient->parameter}})
            : null;
        json[QStringLiteral("sufficientStatisticDimension")] = summary->sufficientStatisticDimension
            ? QJsonValue(*summary->sufficientStatisticDimension)
            : null;
        for (const auto &likelihood : summary->likelihoods)
            likelihoods.append(
                QJsonObject {{QStringLiteral("name"), likelihood.name},
                             {QStringLiteral("logLikelihood"), number(likelihood.logLikelihood)}});
        for (const auto &parameter : summary->parameters)
            parameters.append(QJsonObject {{QStringLiteral("name"), parameter.name},
                                           {QStringLiteral("seed"), number(parameter.seed)},
                                           {QStringLiteral("estimate"), number(parameter.estimate)},
                                           {QStringLiteral("se"), number(parameter.standardError)}});
        for (const auto &function : summary->functions)
            functions.append(QJsonObject {{QStringLiteral("name"), function.name},
                                          {QStringLiteral("estimate"), number(function.estimate)},
                                          {QStringLiteral("se"), number(function.standardError)}});
        for (const auto &interval : summary->profiles)
            profiles.append(QJsonObject {
                {QStringLiteral("symbol"), interval.symbol},
                {QStringLiteral("kind"),
                 interval.isParameter ? QStringLiteral("parameter") : QStringLiteral("function")},
                {QStringLiteral("alpha"), ProfileLikelihoods::alphaLevels().at(interval.alphaIndex)},
                {QStringLiteral("estimate"), number(interval.estimate)},
                {QStringLiteral("lower"), limitValue(interval.lower)},
                {QStringLiteral("upper"), limitValue(interval.upper)},
                {QStringLiteral("lowerStatus"), statusName(interval.lower.status)},
                {QStringLiteral("upperStatus"), statusName(interval.upper.status)}});
        for (const auto &row : summary->observedExpected)
            observedExpected.append(QJsonObject {{QStringLiteral("category"), row.category},
                                                 {QStringLiteral("observed"), number(row.observed)},
                                                 {QStringLiteral("expected"), number(row.expected)},
                                                 {QStringLiteral("residual"), number(row.residual)}});
        if (summary->covariance) {
            QJsonArray rows;
            const zav::Matrix &matrix = *summary->covariance;
            for (int i = 0; i < matrix.rows(); ++i) {
                QJsonArray row;
                for (int j = 0; j < matrix.columns(); ++j)
                    row.append(number(matrix(i, j)));
                rows.append(row);
            }
            covariance = rows;
        }
    } else {
        for (const char *key :
             {"logLikelihood", "aic", "parameterCount", "maxGradient", "sufficientStatisticDimension",
              "sampleSize", "aicc", "bic", "dataFingerprint", "goodnessOfFit"})
            json[QLatin1String(key)] = null;
    }
    json[QStringLiteral("likelihoods")] = likelihoods;
    json[QStringLiteral("parameters")] = parameters;
    json[QStringLiteral("functions")] = functions;
    json[QStringLiteral("covariance")] = covariance;
    json[QStringLiteral("profiles")] = profiles;
    if (run.profileCurves) {
        QJsonArray curves;
        if (summary)
            for (const auto &curve : summary->profileCurves) {
                QJsonArray points;
                for (const auto &[q, statistic] : curve.points)
                    points.append(QJsonArray {number(q), number(statistic)});
                curves.append(QJsonObject {{QStringLiteral("symbol"), curve.symbol},
                                           {QStringLiteral("kind"), curve.isParameter ? QStringLiteral("parameter")
                                                                                      : QStringLiteral("function")},
                                           {QStringLiteral("points"), points}});
            }
        json[QStringLiteral("profileCurves")] = curves;
    }
    json[QStringLiteral("observedExpected")] = observedExpected;
    return json;
}

} // namespace pelk
