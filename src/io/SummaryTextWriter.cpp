#include "io/SummaryTextWriter.h"

#include "estimation/EstimationSummary.h"
#include "expr/Literal.h"
#include "model/ProfileLikelihoods.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace pelk {

namespace {

const QString notAvailable = QStringLiteral("--na--");

QString optionalNumber(const std::optional<double> &value)
{
    return value ? SummaryTextWriter::number(*value) : notAvailable;
}

// Rows of cells, each column as wide as its widest cell plus two blanks.
QString table(const QList<QStringList> &rows)
{
    QList<int> widths;
    for (const QStringList &row : rows)
        for (int c = 0; c < row.size(); ++c) {
            if (c >= widths.size())
                widths.append(0);
            widths[c] = std::max(widths[c], int(row.at(c).size()));
        }
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row.at(c).leftJustified(widths.at(c) + 2) : row.at(c);
        text += line.trimmed().isEmpty() ? QString() : line;
        text += u'\n';
    }
    return text;
}

QString heading(const QString &title)
{
    return u'\n' + title + u'\n' + QString(title.size(), u'-') + u'\n';
}

} // namespace

QString SummaryTextWriter::profileLimit(const std::optional<double> &limit, int displayDigits)
{
    if (!limit || !std::isfinite(*limit))
        return notAvailable;
    return QString::number(*limit, 'f', std::max(displayDigits, 0));
}

// A value that is not a number (the square root of a negative variance, the
// residual of a negative count) cannot be given: it shows as "--na--".
QString SummaryTextWriter::number(double value)
{
    return std::isnan(value) ? notAvailable : zav::Literal::format(value);
}

QString SummaryTextWriter::dateLine(const QDateTime &when)
{
    return QLocale::c().toString(when, QStringLiteral("dd MMMM yyyy hh::mm::ss ap"));
}

QString SummaryTextWriter::gradientLines(const EstimationSummary &summary)
{
    QString text = QStringLiteral("Largest scaled gradient:  ");
    text += summary.maxGradient
        ? number(summary.maxGradient->value) + QStringLiteral(" (") + summary.maxGradient->parameter + u')'
        : notAvailable;
    text += u'\n';
    if (summary.gradientWarning())
        text += QStringLiteral("WARNING:  The largest scaled gradient exceeds %1: the optimizer may have stopped "
                               "before the maximum\n")
                    .arg(zav::Literal::format(EstimationSummary::gradientWarningThreshold));
    return text;
}

QString SummaryTextWriter::write(const EstimationSummary &summary, const QDateTime &when)
{
    QString text = QStringLiteral("Estimation Summary Report\n\n");
    text += dateLine(when) + u'\n';
    text += QStringLiteral("AIC: ") + number(summary.aic) + u'\n';
    text += QStringLiteral("Log-likelihood:  ") + number(summary.logLikelihood) + u'\n';
    if (summary.likelihoods.size() > 1)
        for (const auto &likelihood : summary.likelihoods)
            text += QStringLiteral("   ") + likelihood.name + QStringLiteral(":  ")
                + number(likelihood.logLikelihood) + u'\n';
    text += gradientLines(summary);
    text += QStringLiteral("\nDimension of the Minimum Sufficient Statistic:  ");
    text += summary.sufficientStatisticDimension ? QString::number(*summary.sufficientStatisticDimension)
                                                 : QStringLiteral("Not available");
    text += QStringLiteral("\nNumber of parameters: %1\n").arg(summary.parameterCount);
    if (summary.parametersMayNotBeEstimable())
        text += QStringLiteral("WARNING:  Parameters may not be estimable\n");

    text += heading(QStringLiteral("Categories and Corresponding Counts by Likelihood"));
    for (const auto &likelihood : summary.counts) {
        text += QStringLiteral("\n\"%1\"\nTotal observed counts: %2\n")
                    .arg(likelihood.name)
                    .arg(likelihood.total);
        // Three category/count pairs side by side, as in the report.
        QList<QStringList> rows {{QStringLiteral("Category"), QStringLiteral("Counts"),
                                  QStringLiteral("Category"), QStringLiteral("Counts"),
                                  QStringLiteral("Category"), QStringLiteral("Counts")}};
        for (int i = 0; i < likelihood.categories.size(); ++i) {
            if (i % 3 == 0)
                rows.append(QStringList());
            rows.last() << likelihood.categories.at(i).label
                        << QString::number(likelihood.categories.at(i).count);
        }
        text += table(rows);
    }

    text += heading(QStringLiteral("Parameter Estimates"));
    QList<QStringList> parameters {
        {QStringLiteral("Parameter"), QStringLiteral("Estimate"), QStringLiteral("s.e.")}};
    for (const auto &parameter : summary.parameters)
        parameters.append(
            {parameter.name, number(parameter.estimate), optionalNumber(parameter.standardError)});
    text += table(parameters);

    if (!summary.profiles.isEmpty()) {
        text += heading(QStringLiteral("Profile Likelihood Confidence Intervals"));
        QList<QStringList> rows {{QStringLiteral("Symbol"), QStringLiteral("Estimate"),
                                  QStringLiteral("Alpha"), QStringLiteral("Lower Bound"),
                                  QStringLiteral("Upper Bound")}};
        for (const auto &interval : summary.profiles)
            rows.append({interval.symbol, number(interval.estimate),
                         ProfileLikelihoods::alphaLevels().at(interval.alphaIndex),
                         SummaryTextWriter::profileLimit(interval.lower, interval.displayDigits),
                         SummaryTextWriter::profileLimit(interval.upper, interval.displayDigits)});
        text += table(rows);
    }

    if (!summary.functions.isEmpty()) {
        text += heading(QStringLiteral("Convenience Functions"));
        QList<QStringList> rows {
            {QStringLiteral("Name"), QStringLiteral("Estimate"), QStringLiteral("s.e.")}};
        for (const auto &function : summary.functions)
            rows.append({function.name, number(function.estimate), optionalNumber(function.standardError)});
        text += table(rows);
    }

    text += heading(QStringLiteral("Observed vs Expected"));
    QList<QStringList> rows {{QStringLiteral("Category"), QStringLiteral("Observed"),
                              QStringLiteral("Expected"), QStringLiteral("Anscombe Residual")}};
    for (const auto &row : summary.observedExpected)
        rows.append({row.category, number(row.observed), number(row.expected), number(row.residual)});
    text += table(rows);
    return text;
}

} // namespace pelk
