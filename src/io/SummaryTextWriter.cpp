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

QString SummaryTextWriter::profileLimit(const ProfileLimit &limit, bool isUpper, int displayDigits)
{
    const auto fixed = [&] { return QString::number(limit.value, 'f', std::max(displayDigits, 0)); };
    if (!std::isfinite(limit.value))
        return notAvailable;
    switch (limit.status) {
    case ProfileLimitStatus::Found:
        return fixed();
    case ProfileLimitStatus::AtBound:
        return (isUpper ? QStringLiteral("> ") : QStringLiteral("< ")) + fixed();
    case ProfileLimitStatus::Open:
        return QStringLiteral("not bounded");
    case ProfileLimitStatus::NotFound:
    case ProfileLimitStatus::BetterOptimum:
        break;
    }
    return notAvailable;
}

QStringList SummaryTextWriter::profileNotes(const EstimationSummary &summary)
{
    const auto shows = [&](ProfileLimitStatus status) {
        return std::any_of(summary.profiles.begin(), summary.profiles.end(), [status](const auto &interval) {
            return interval.lower.status == status || interval.upper.status == status;
        });
    };
    QStringList notes;
    if (shows(ProfileLimitStatus::AtBound))
        notes << QStringLiteral("\"> x\", \"< x\": the limit lies beyond the range where the model can be "
                                "evaluated; x is the last value where it can.");
    if (shows(ProfileLimitStatus::Open))
        notes << QStringLiteral("\"not bounded\": the profile levels off below the target; the data do not "
                                "bound the quantity on that side.");
    if (shows(ProfileLimitStatus::BetterOptimum))
        notes << QStringLiteral("A profile reached a higher log-likelihood than the estimates: re-estimate the "
                                "parameters before reading these limits.");
    return notes;
}

// A value that is not a number (the square root of a negative variance, the
// residual of a negative count) cannot be given: it shows as "--na--".
QString SummaryTextWriter::number(double value)
{
    return std::isnan(value) ? notAvailable : zav::Literal::format(value);
}

QString SummaryTextWriter::number(const std::optional<double> &value)
{
    return value ? number(*value) : notAvailable;
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

QString SummaryTextWriter::criteriaLines(const EstimationSummary &summary)
{
    return QStringLiteral("AICc: ") + number(summary.aicc) + QStringLiteral("\nBIC: ") + number(summary.bic)
        + u'\n';
}

QString SummaryTextWriter::sampleSizeLine(const EstimationSummary &summary)
{
    return QStringLiteral("Sample size (n): ") + number(summary.sampleSize) + u'\n';
}

QString SummaryTextWriter::goodnessOfFitLines(const EstimationSummary &summary)
{
    const GoodnessOfFit &fit = summary.goodnessOfFit;
    QString text = QStringLiteral("Deviance (G^2):  ") + number(fit.deviance)
        + QStringLiteral("\nPearson X^2:  ") + number(fit.pearson) + QStringLiteral("\nDegrees of freedom:  ")
        + (fit.df ? QString::number(*fit.df) : notAvailable) + QStringLiteral("\np-value of G^2:  ")
        + number(fit.devianceP) + QStringLiteral("\np-value of X^2:  ") + number(fit.pearsonP)
        + QStringLiteral("\nc-hat (X^2/df):  ") + number(fit.chat) + u'\n';
    if (fit.chat && *fit.chat < 1.0)
        text += QStringLiteral(
            "c-hat is below 1: no overdispersion is indicated, and 1 is the value to use.\n");
    if (!fit.warning.isEmpty())
        text += QStringLiteral("WARNING:  ") + fit.warning + u'\n';
    if (!fit.reason.isEmpty())
        text += QStringLiteral("Not available:  ") + fit.reason + u'\n';
    return text;
}

QString SummaryTextWriter::write(const EstimationSummary &summary, const QDateTime &when)
{
    QString text = QStringLiteral("Estimation Summary Report\n\n");
    text += dateLine(when) + u'\n';
    text += QStringLiteral("AIC: ") + number(summary.aic) + u'\n';
    text += criteriaLines(summary);
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
    text += sampleSizeLine(summary);

    text += heading(QStringLiteral("Goodness of Fit"));
    text += goodnessOfFitLines(summary);

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
        parameters.append({parameter.name, number(parameter.estimate), number(parameter.standardError)});
    text += table(parameters);

    if (!summary.profiles.isEmpty()) {
        text += heading(QStringLiteral("Profile Likelihood Confidence Intervals"));
        QList<QStringList> rows {{QStringLiteral("Symbol"), QStringLiteral("Estimate"),
                                  QStringLiteral("Alpha"), QStringLiteral("Lower Bound"),
                                  QStringLiteral("Upper Bound")}};
        for (const auto &interval : summary.profiles)
            rows.append({interval.symbol, number(interval.estimate),
                         ProfileLikelihoods::alphaLevels().at(interval.alphaIndex),
                         SummaryTextWriter::profileLimit(interval.lower, false, interval.displayDigits),
                         SummaryTextWriter::profileLimit(interval.upper, true, interval.displayDigits)});
        text += table(rows);
        for (const QString &note : profileNotes(summary))
            text += note + u'\n';
    }

    if (!summary.functions.isEmpty()) {
        text += heading(QStringLiteral("Convenience Functions"));
        QList<QStringList> rows {
            {QStringLiteral("Name"), QStringLiteral("Estimate"), QStringLiteral("s.e.")}};
        for (const auto &function : summary.functions)
            rows.append({function.name, number(function.estimate), number(function.standardError)});
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
