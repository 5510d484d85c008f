#include "ReportFormats.h"

#include <QFont>

namespace {

QTextCharFormat arial(int pointSize, bool bold)
{
    QFont font("Arial", pointSize);
    font.setBold(bold);
    QTextCharFormat format;
    format.setFont(font);
    return format;
}

} // namespace

ReportFormats::ReportFormats()
{
    titleBlock.setAlignment(Qt::AlignLeft);
    titleBlock.setBottomMargin(18);
    titleCharacters = arial(10, true);
    titleCharacters.setFontUnderline(true);

    headingBlock.setAlignment(Qt::AlignLeft);
    headingBlock.setTopMargin(18);
    headingBlock.setBottomMargin(12);
    headingCharacters = arial(10, true);

    table.setCellPadding(7.2);
    table.setMargin(12);
    tableHeaderCharacters = arial(8, true);

    bodyCharacters = arial(8, false);
}
