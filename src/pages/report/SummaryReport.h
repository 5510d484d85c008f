// Writes the estimation summary report into a rich-text document: title,
// date, AIC and log-likelihoods, the estimability figures, the observed
// counts of every multinomial likelihood, the parameter estimates, the
// profile-likelihood intervals and the convenience functions. Every number
// comes from the summary the main window computed once; nothing is
// recomputed here. The document is rebuilt from scratch on every write.
#pragma once

#include <QList>
#include <QStringList>
#include <QTextCursor>

namespace pelk {
struct EstimationSummary;
}
struct ReportFormats;
class QDateTime;
class QTextCharFormat;
class QTextDocument;
class QTextTable;

class SummaryReport
{
public:
    SummaryReport(QTextDocument *document, const ReportFormats &formats);

    void write(const pelk::EstimationSummary &summary, const QDateTime &when);

private:
    void writeFit(const pelk::EstimationSummary &summary, const QDateTime &when);
    void writeEstimability(const pelk::EstimationSummary &summary);
    void writeGoodnessOfFit(const pelk::EstimationSummary &summary);
    void writeCounts(const pelk::EstimationSummary &summary);
    void writeParameters(const pelk::EstimationSummary &summary);
    void writeProfiles(const pelk::EstimationSummary &summary);
    void writeFunctions(const pelk::EstimationSummary &summary);

    // Moves to the end of the document and starts a block there.
    void newBodyBlock();
    void newHeading(const QString &text);
    // A table at the end of the document with the given fixed column
    // widths, each widened where its header needs more room; the first row
    // holds the header cells.
    QTextTable *newTable(int rows, const QList<qreal> &columnWidths, const QStringList &header);
    void setCell(QTextTable *table, int row, int column, const QString &text);
    void setCell(QTextTable *table, int row, int column, const QString &text, const QTextCharFormat &format);

    QTextDocument *m_document;
    const ReportFormats &m_formats;
    QTextCursor m_cursor;
};
