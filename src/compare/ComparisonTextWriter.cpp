#include "compare/ComparisonTextWriter.h"

#include "compare/ComparisonTable.h"
#include "compare/ModelComparison.h"

#include <algorithm>

namespace pelk {

namespace {

// The first column left-aligned (names), the others right-aligned, two
// spaces between columns.
QString aligned(const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QStringList &cells : rows)
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i == widths.size())
                widths.append(0);
            widths[i] = std::max(widths[i], cells.at(i).size());
        }
    QString text;
    for (const QStringList &cells : rows) {
        QStringList padded;
        for (qsizetype i = 0; i < cells.size(); ++i)
            padded.append(i == 0 ? cells.at(i).leftJustified(widths[i]) : cells.at(i).rightJustified(widths[i]));
        text += padded.join(QLatin1String("  ")).trimmed() + u'\n';
    }
    return text;
}

QString number(const std::optional<double> &value)
{
    return ComparisonTable::number(value);
}

} // namespace

QString ComparisonTextWriter::write(const ModelComparison &comparison)
{
    using Criterion = ModelComparison::Criterion;
    const QString criterion = comparison.rankedBy == Criterion::Qaicc ? QStringLiteral("QAICc (c-hat = %1)").arg(number(comparison.chatUsed))
        : comparison.rankedBy == Criterion::Aic                    ? QStringLiteral("AIC")
                                                                   : QStringLiteral("AICc");
    QString text = QStringLiteral("Models ranked by %1\n\n").arg(criterion)
        + aligned(ComparisonTable::rows(comparison, 6));
    for (const QString &note : comparison.notes)
        text += QStringLiteral("Note: ") + note + u'\n';

    if (!comparison.averaged.isEmpty()) {
        QList<QStringList> rows {{QStringLiteral("Quantity"), QStringLiteral("Estimate"),
                                  QStringLiteral("Unconditional s.e."), QStringLiteral("Models")}};
        for (const auto &averaged : comparison.averaged)
            rows.append({averaged.name, number(averaged.estimate), number(averaged.unconditionalSe),
                         QString::number(averaged.modelNames.size())});
        text += QStringLiteral("\nModel-averaged estimates\n\n") + aligned(rows);
    }
    if (!comparison.tests.isEmpty()) {
        QList<QStringList> rows {{QStringLiteral("Simpler"), QStringLiteral("General"), QStringLiteral("Statistic"),
                                  QStringLiteral("df"), QStringLiteral("p")}};
        for (const auto &test : comparison.tests)
            rows.append({test.simpler, test.general, number(test.statistic), QString::number(test.df),
                         number(test.p)});
        text += QStringLiteral("\nLikelihood-ratio tests\n\n") + aligned(rows);
    }
    return text;
}

} // namespace pelk
