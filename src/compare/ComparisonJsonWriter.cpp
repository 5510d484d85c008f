#include "compare/ComparisonJsonWriter.h"

#include "compare/ModelComparison.h"
#include "io/SummaryJsonWriter.h"

#include <QJsonArray>

namespace pelk {

QJsonObject ComparisonJsonWriter::write(const ModelComparison &comparison)
{
    using Criterion = ModelComparison::Criterion;
    const auto number = [](const std::optional<double> &value) { return SummaryJsonWriter::number(value); };
    QJsonArray models, averaged, tests;
    for (const ModelComparison::Row &row : comparison.rows) {
        QJsonObject model {{QStringLiteral("name"), row.model.name},
                           {QStringLiteral("parameterCount"), row.model.parameterCount},
                           {QStringLiteral("logLikelihood"), number(row.model.logLikelihood)},
                           {QStringLiteral("aic"), number(row.model.aic)},
                           {QStringLiteral("aicc"), number(row.model.aicc)},
                           {QStringLiteral("deltaAicc"), number(row.delta)},
                           {QStringLiteral("aiccWeight"), number(row.weight)},
                           {QStringLiteral("cumulativeWeight"), number(row.cumulativeWeight)},
                           {QStringLiteral("pearsonChat"), number(row.model.pearsonChat)}};
        if (comparison.chatUsed) {
            model[QStringLiteral("qaicc")] = number(row.qaicc);
            model[QStringLiteral("deltaQaicc")] = number(row.deltaQaicc);
            model[QStringLiteral("qaiccWeight")] = number(row.qaiccWeight);
        }
        models.append(model);
    }
    for (const ModelComparison::Averaged &quantity : comparison.averaged)
        averaged.append(QJsonObject {{QStringLiteral("name"), quantity.name},
                                     {QStringLiteral("estimate"), number(quantity.estimate)},
                                     {QStringLiteral("unconditionalSe"), number(quantity.unconditionalSe)},
                                     {QStringLiteral("modelCount"), quantity.modelNames.size()},
                                     {QStringLiteral("modelNames"), QJsonArray::fromStringList(quantity.modelNames)}});
    for (const ModelComparison::LikelihoodRatioTest &test : comparison.tests)
        tests.append(QJsonObject {{QStringLiteral("simpler"), test.simpler},
                                  {QStringLiteral("general"), test.general},
                                  {QStringLiteral("statistic"), number(test.statistic)},
                                  {QStringLiteral("df"), test.df},
                                  {QStringLiteral("p"), number(test.p)}});
    return {{QStringLiteral("chatUsed"), number(comparison.chatUsed)},
            {QStringLiteral("rankedBy"), comparison.rankedBy == Criterion::Qaicc ? QStringLiteral("qaicc")
                 : comparison.rankedBy == Criterion::Aic                         ? QStringLiteral("aic")
                                                                                 : QStringLiteral("aicc")},
            {QStringLiteral("models"), models},
            {QStringLiteral("averaged"), averaged},
            {QStringLiteral("lrt"), tests},
            {QStringLiteral("notes"), QJsonArray::fromStringList(comparison.notes)}};
}

} // namespace pelk
