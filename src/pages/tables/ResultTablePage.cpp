#include "ResultTablePage.h"

#include "ResultTableModel.h"

#include "app/PelkWindow.h"
#include "estimation/EstimationSummary.h"
#include "io/SummaryTextWriter.h"
#include "model/ProfileLikelihoods.h"

#include <algorithm>
#include <cmath>

namespace {

using Summary = pelk::EstimationSummary;

// One row per symbol: the estimate and its standard error, or "--na--"
// where none exists (no covariance matrix, or a variance that could not be
// computed).
ResultTableModel *estimates(const QList<Summary::Estimate> &estimates, const QString &standardErrorHeader)
{
    QStringList names;
    QList<QVariantList> rows;
    for (const Summary::Estimate &estimate : estimates) {
        names << estimate.name;
        rows.append(
            {ResultTableModel::number(estimate.estimate), ResultTableModel::number(estimate.standardError)});
    }
    return new ResultTableModel({QStringLiteral("Estimate"), standardErrorHeader}, names, rows);
}

// One row per requested (symbol, alpha level), in the summary's order
// (parameters, then convenience functions, each by symbol and level): the
// estimate, the level, and each limit in fixed notation with the decimals
// its search resolved, or "--na--" for a limit that was not found.
ResultTableModel *profiles(const Summary &summary)
{
    QStringList symbols;
    QList<QVariantList> rows;
    for (const Summary::ProfileInterval &interval : summary.profiles) {
        symbols << interval.symbol;
        rows.append(
            {ResultTableModel::number(interval.estimate),
             ResultTableModel::numberText(pelk::ProfileLikelihoods::alphaLevels().value(interval.alphaIndex)),
             ResultTableModel::numberText(
                 pelk::SummaryTextWriter::profileLimit(interval.lower, false, interval.displayDigits)),
             ResultTableModel::numberText(
                 pelk::SummaryTextWriter::profileLimit(interval.upper, true, interval.displayDigits))});
    }
    return new ResultTableModel({QStringLiteral("Estimate"), QStringLiteral("Alpha"),
                                 QStringLiteral("Lower Bound"), QStringLiteral("Upper Bound")},
                                symbols, rows);
}

// A square matrix over the parameters, named in both headers. A matrix
// smaller than the parameter list (it cannot be, after a run that estimated
// them all) shows its missing cells as not available.
ResultTableModel *parameterMatrix(const Summary &summary, const zav::Matrix &matrix)
{
    QStringList names;
    for (const Summary::Estimate &parameter : summary.parameters)
        names << parameter.name;
    QList<QVariantList> rows;
    for (int i = 0; i < names.size(); ++i) {
        QVariantList row;
        for (int j = 0; j < names.size(); ++j)
            row << ResultTableModel::number(i < matrix.rows() && j < matrix.columns()
                                                ? std::optional<double>(matrix(i, j))
                                                : std::nullopt);
        rows.append(row);
    }
    return new ResultTableModel(names, names, rows);
}

// rho_ij = Sigma_ij / (sqrt(Sigma_jj) sqrt(Sigma_ii)). Each cell divides by
// its own pair of standard deviations, so a covariance made asymmetric by
// rounding stays so. A parameter whose variance is 0 or negative has no
// correlations: its row and column are not finite, shown as "--na--".
zav::Matrix correlation(const zav::Matrix &covariance)
{
    const int n = std::min(covariance.rows(), covariance.columns());
    zav::Matrix result(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            result(i, j) = covariance(i, j) / (std::sqrt(covariance(j, j)) * std::sqrt(covariance(i, i)));
    return result;
}

// One row per statistic of the model as a whole: its size, information
// criteria and goodness of fit, "--na--" where a value does not exist.
ResultTableModel *modelStatistics(const Summary &summary)
{
    const pelk::GoodnessOfFit &fit = summary.goodnessOfFit;
    const auto count = [](const std::optional<int> &value) {
        return value ? QVariant(*value) : ResultTableModel::numberText(ResultTableModel::notAvailable);
    };
    const QList<std::pair<QString, QVariant>> rows = {
        {QStringLiteral("Sample size (n)"), ResultTableModel::number(summary.sampleSize)},
        {QStringLiteral("Parameters (k)"), summary.parameterCount},
        {QStringLiteral("Log-likelihood"), ResultTableModel::number(summary.logLikelihood)},
        {QStringLiteral("AIC"), ResultTableModel::number(summary.aic)},
        {QStringLiteral("AICc"), ResultTableModel::number(summary.aicc)},
        {QStringLiteral("BIC"), ResultTableModel::number(summary.bic)},
        {QStringLiteral("Deviance (G^2)"), ResultTableModel::number(fit.deviance)},
        {QStringLiteral("Pearson X^2"), ResultTableModel::number(fit.pearson)},
        {QStringLiteral("Degrees of freedom"), count(fit.df)},
        {QStringLiteral("p-value of G^2"), ResultTableModel::number(fit.devianceP)},
        {QStringLiteral("p-value of X^2"), ResultTableModel::number(fit.pearsonP)},
        {QStringLiteral("c-hat (X^2/df)"), ResultTableModel::number(fit.chat)},
    };
    QStringList names;
    QList<QVariantList> cells;
    for (const auto &[name, value] : rows) {
        names << name;
        cells.append({value});
    }
    return new ResultTableModel({QStringLiteral("Value")}, names, cells);
}

} // namespace

const QList<ResultTablePage::Kind> &ResultTablePage::kinds()
{
    static const QList<Kind> kinds = {
        {QStringLiteral("Parameter Estimates"),
         [](const Summary &s) { return estimates(s.parameters, QStringLiteral("s.e.")); }},
        // "s.e" without the parameter table's full stop: files exported from
        // this table carry it that way.
        {QStringLiteral("Convenience Function Estimates"),
         [](const Summary &s) { return estimates(s.functions, QStringLiteral("s.e")); }},
        {QStringLiteral("Profile Likelihood Estimates"), profiles},
        {QStringLiteral("Model Statistics"), modelStatistics},
        {QStringLiteral("Covariance Matrix"),
         [](const Summary &s) { return s.covariance ? parameterMatrix(s, *s.covariance) : nullptr; }},
        {QStringLiteral("Correlation Matrix"),
         [](const Summary &s) {
             return s.covariance ? parameterMatrix(s, correlation(*s.covariance)) : nullptr;
         }},
    };
    return kinds;
}

ResultTablePage::ResultTablePage(PelkWindow *mainWindow, const Kind &kind)
    : TableContentPage(mainWindow, kind.title), m_table(kind.table)
{
    setAvailable(false);
    connect(mainWindow, &PelkWindow::estimationComplete, this, &ResultTablePage::onEstimationComplete);
}

void ResultTablePage::onEstimationComplete()
{
    if (const Summary *summary = mainWindow()->summary())
        setModel(m_table(*summary));
}
