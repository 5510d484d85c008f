#include "SummaryReport.h"

#include "ReportFormats.h"

#include "estimation/EstimationSummary.h"
#include "io/SummaryTextWriter.h"
#include "model/ProfileLikelihoods.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>
#include <optional>

namespace {

using pelk::SummaryTextWriter;

// Category/count pairs standing side by side in one row of the counts table.
const int pairsPerRow = 3;

} // namespace

SummaryReport::SummaryReport(QTextDocument *document, const ReportFormats &formats)
    : m_document(document), m_formats(formats), m_cursor(document)
{}

void SummaryReport::write(const pelk::EstimationSummary &summary, const QDateTime &when)
{
    m_document->clear();
    m_cursor = QTextCursor(m_document);
    m_cursor.setBlockFormat(m_formats.titleBlock);
    m_cursor.setBlockCharFormat(m_formats.titleCharacters);
    m_cursor.insertText(QStringLiteral("Estimation Summary Report"), m_formats.titleCharacters);

    writeFit(summary, when);
    writeEstimability(summary);
    writeGoodnessOfFit(summary);
    writeCounts(summary);
    writeParameters(summary);
    writeProfiles(summary);
    writeFunctions(summary);

    m_cursor.movePosition(QTextCursor::End);
    m_cursor.insertText(QStringLiteral("\n"));
}

void SummaryReport::writeFit(const pelk::EstimationSummary &summary, const QDateTime &when)
{
    newBodyBlock();
    m_cursor.insertText(pelk::SummaryTextWriter::dateLine(when) + u'\n');
    m_cursor.insertText(QStringLiteral("AIC: ") + SummaryTextWriter::number(summary.aic) + u'\n');
    m_cursor.insertText(pelk::SummaryTextWriter::criteriaLines(summary));
    m_cursor.insertText(QStringLiteral("Log-likelihood:  ") + SummaryTextWriter::number(summary.logLikelihood)
                        + u'\n');
    // With one likelihood its own log-likelihood is the total just written.
    if (summary.likelihoods.size() > 1)
        for (const auto &likelihood : summary.likelihoods)
            m_cursor.insertText(QStringLiteral("   ") + likelihood.name + QStringLiteral(":  ")
                                + SummaryTextWriter::number(likelihood.logLikelihood) + u'\n');
    m_cursor.insertText(pelk::SummaryTextWriter::gradientLines(summary));
}

void SummaryReport::writeEstimability(const pelk::EstimationSummary &summary)
{
    newBodyBlock();
    m_cursor.insertText(QStringLiteral("Dimension of the Minimum Sufficient Statistic:  "));
    // The dimension is only defined for models without unobserved
    // categories and normal likelihoods.
    m_cursor.insertText(summary.sufficientStatisticDimension
                            ? QString::number(*summary.sufficientStatisticDimension) + u'\n'
                            : QStringLiteral("Not available\n"));
    m_cursor.insertText(QStringLiteral("Number of parameters: ") + QString::number(summary.parameterCount)
                        + u'\n');
    m_cursor.movePosition(QTextCursor::End);
    if (summary.parametersMayNotBeEstimable())
        m_cursor.insertText(QStringLiteral("WARNING:  Parameters may not be estimable\n"));
    m_cursor.insertText(pelk::SummaryTextWriter::sampleSizeLine(summary));
}

void SummaryReport::writeGoodnessOfFit(const pelk::EstimationSummary &summary)
{
    newHeading(QStringLiteral("Goodness of Fit"));
    newBodyBlock();
    m_cursor.insertText(pelk::SummaryTextWriter::goodnessOfFitLines(summary));
}

void SummaryReport::writeCounts(const pelk::EstimationSummary &summary)
{
    newHeading(QStringLiteral("Categories and Corresponding Counts by Likelihood"));
    for (const auto &likelihood : summary.counts) {
        newBodyBlock();
        m_cursor.insertText(u'"' + likelihood.name + QStringLiteral("\"\n"));
        m_cursor.insertText(QStringLiteral("Total observed counts: ") + QString::number(likelihood.total)
                            + u'\n');

        const int categoryCount = int(likelihood.categories.size());
        const int rows = 1 + (categoryCount + pairsPerRow - 1) / pairsPerRow;
        QStringList header;
        for (int pair = 0; pair < pairsPerRow; ++pair)
            header << QStringLiteral("Category") << QStringLiteral("Counts");
        QTextTable *table = newTable(rows, {100, 50, 100, 50, 100, 50}, header);
        for (int i = 0; i < categoryCount; ++i) {
            const auto &category = likelihood.categories.at(i);
            const int row = 1 + i / pairsPerRow;
            const int column = 2 * (i % pairsPerRow);
            setCell(table, row, column, category.label);
            setCell(table, row, column + 1, QString::number(category.count));
        }
    }
}

void SummaryReport::writeParameters(const pelk::EstimationSummary &summary)
{
    newHeading(QStringLiteral("Parameter Estimates"));
    QTextTable *table
        = newTable(1 + int(summary.parameters.size()), {75, 75, 75},
                   {QStringLiteral("Parameter"), QStringLiteral("Estimate"), QStringLiteral("s.e.")});
    int row = 1;
    for (const auto &parameter : summary.parameters) {
        setCell(table, row, 0, parameter.name);
        setCell(table, row, 1, SummaryTextWriter::number(parameter.estimate));
        setCell(table, row, 2, SummaryTextWriter::number(parameter.standardError));
        ++row;
    }
}

void SummaryReport::writeProfiles(const pelk::EstimationSummary &summary)
{
    if (summary.profiles.isEmpty())
        return;
    newHeading(QStringLiteral("Profile Likelihood Confidence Intervals"));
    QTextTable *table
        = newTable(1 + int(summary.profiles.size()), {100, 100, 65, 100, 100},
                   {QStringLiteral("Symbol"), QStringLiteral("Estimate"), QStringLiteral("Alpha"),
                    QStringLiteral("Lower Bound"), QStringLiteral("Upper Bound")});
    // The summary lists the parameters' requests first, then the
    // convenience functions', each by symbol position and level.
    int row = 1;
    for (const auto &interval : summary.profiles) {
        setCell(table, row, 0, interval.symbol);
        setCell(table, row, 1, SummaryTextWriter::number(interval.estimate));
        setCell(table, row, 2, pelk::ProfileLikelihoods::alphaLevels().value(interval.alphaIndex));
        setCell(table, row, 3, pelk::SummaryTextWriter::profileLimit(interval.lower, false, interval.displayDigits));
        setCell(table, row, 4, pelk::SummaryTextWriter::profileLimit(interval.upper, true, interval.displayDigits));
        ++row;
    }
    const QStringList notes = pelk::SummaryTextWriter::profileNotes(summary);
    if (!notes.isEmpty()) {
        newBodyBlock();
        m_cursor.insertText(notes.join(u'\n'));
    }
}

void SummaryReport::writeFunctions(const pelk::EstimationSummary &summary)
{
    if (summary.functions.isEmpty())
        return;
    newHeading(QStringLiteral("Convenience Functions"));
    QTextTable *table
        = newTable(1 + int(summary.functions.size()), {75, 75, 75},
                   {QStringLiteral("Name"), QStringLiteral("Estimate"), QStringLiteral("s.e.")});
    int row = 1;
    for (const auto &function : summary.functions) {
        setCell(table, row, 0, function.name);
        setCell(table, row, 1, SummaryTextWriter::number(function.estimate));
        setCell(table, row, 2, SummaryTextWriter::number(function.standardError));
        ++row;
    }
}

void SummaryReport::newBodyBlock()
{
    m_cursor.movePosition(QTextCursor::End);
    m_cursor.insertBlock(m_formats.bodyBlock, m_formats.bodyCharacters);
}

void SummaryReport::newHeading(const QString &text)
{
    m_cursor.movePosition(QTextCursor::End);
    m_cursor.insertBlock(m_formats.headingBlock, m_formats.headingCharacters);
    m_cursor.insertText(text);
}

QTextTable *SummaryReport::newTable(int rows, const QList<qreal> &columnWidths, const QStringList &header)
{
    QTextTableFormat format = m_formats.table;
    // A header never breaks over two lines: each column is at least as wide
    // as its header text, plus the padding and border on both sides of the
    // cell, plus a pixel against rounding.
    const QFontMetricsF headerMetrics(m_formats.tableHeaderCharacters.font());
    const qreal frame = 2 * (format.cellPadding() + format.border()) + 1;
    QList<QTextLength> constraints;
    for (int column = 0; column < columnWidths.size(); ++column) {
        const qreal headerWidth = headerMetrics.horizontalAdvance(header.value(column)) + frame;
        constraints.append(
            QTextLength(QTextLength::FixedLength, std::max(columnWidths.at(column), headerWidth)));
    }
    format.setColumnWidthConstraints(constraints);

    m_cursor.movePosition(QTextCursor::End);
    QTextTable *table = m_cursor.insertTable(rows, int(columnWidths.size()), format);
    for (int column = 0; column < header.size(); ++column)
        setCell(table, 0, column, header.at(column), m_formats.tableHeaderCharacters);
    return table;
}

void SummaryReport::setCell(QTextTable *table, int row, int column, const QString &text)
{
    setCell(table, row, column, text, m_formats.bodyCharacters);
}

void SummaryReport::setCell(QTextTable *table, int row, int column, const QString &text,
                            const QTextCharFormat &format)
{
    QTextCursor cell = table->cellAt(row, column).firstCursorPosition();
    cell.insertText(text, format);
}
