#include "compare/ComparisonTable.h"

#include "compare/ModelComparison.h"

namespace pelk {

QString ComparisonTable::number(const std::optional<double> &value, int digits)
{
    return value ? QString::number(*value, 'g', digits) : QStringLiteral("--na--");
}

QList<QStringList> ComparisonTable::rows(const ModelComparison &comparison, int digits)
{
    const auto number = [digits](const std::optional<double> &value) { return ComparisonTable::number(value, digits); };
    const QString criterion = comparison.rankedBy == ModelComparison::Criterion::Aic ? QStringLiteral("AIC")
                                                                                     : QStringLiteral("AICc");
    const bool quasi = comparison.chatUsed.has_value();
    QStringList header {QStringLiteral("Model"),       QStringLiteral("k"),
                        QStringLiteral("log L"),       QStringLiteral("AIC"),
                        QStringLiteral("AICc"),        QStringLiteral("Delta ") + criterion,
                        criterion + QStringLiteral(" weight")};
    if (quasi)
        header << QStringLiteral("QAICc") << QStringLiteral("Delta QAICc") << QStringLiteral("QAICc weight");
    header << QStringLiteral("Cumulative weight") << QStringLiteral("Pearson c-hat");
    QList<QStringList> rows {header};
    for (const ModelComparison::Row &row : comparison.rows) {
        const ModelRecord &model = row.model;
        QStringList cells {model.name,          QString::number(model.parameterCount),
                           number(model.logLikelihood), number(model.aic),
                           number(model.aicc),  number(row.delta),
                           number(row.weight)};
        if (quasi)
            cells << number(row.qaicc) << number(row.deltaQaicc) << number(row.qaiccWeight);
        cells << number(row.cumulativeWeight) << number(model.pearsonChat);
        rows.append(cells);
    }
    return rows;
}

QString ComparisonTable::csv(const ModelComparison &comparison)
{
    QString text;
    bool header = true;
    for (QStringList cells : rows(comparison, 12)) {
        // Names may hold commas or quotes; the header and the numbers never do.
        if (!header)
            cells.first() = u'"' + QString(cells.first()).replace(u'"', QLatin1String("\"\"")) + u'"';
        header = false;
        text += cells.join(u',') + u'\n';
    }
    return text;
}

} // namespace pelk
