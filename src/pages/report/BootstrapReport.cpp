#include "BootstrapReport.h"

#include "ReportFormats.h"

#include "estimation/BootstrapResult.h"
#include "io/BootstrapTextWriter.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

void BootstrapReport::append(QTextDocument *document, const ReportFormats &formats,
                             const pelk::BootstrapResult &result)
{
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock(formats.headingBlock, formats.headingCharacters);
    cursor.insertText(QStringLiteral("Parametric Bootstrap Goodness of Fit"));
    const auto rows = pelk::BootstrapTextWriter::rows(result);
    QTextTableFormat format = formats.table;
    format.setColumnWidthConstraints(
        {QTextLength(QTextLength::FixedLength, 200), QTextLength(QTextLength::FixedLength, 200)});
    cursor.movePosition(QTextCursor::End);
    QTextTable *table = cursor.insertTable(int(rows.size()), 2, format);
    for (int row = 0; row < rows.size(); ++row) {
        table->cellAt(row, 0).firstCursorPosition().insertText(rows.at(row).first, formats.bodyCharacters);
        table->cellAt(row, 1).firstCursorPosition().insertText(rows.at(row).second, formats.bodyCharacters);
    }
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\n"));
}
