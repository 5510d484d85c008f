// The eight text formats of the summary report, made once and shared by
// every rebuild: title, section headings, tables and their header cells,
// and the body text. All fonts are Arial; body and table text is 8 pt,
// title and headings 10 pt.
#pragma once

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextTableFormat>

struct ReportFormats
{
    ReportFormats();

    QTextBlockFormat titleBlock;
    QTextCharFormat titleCharacters;
    QTextBlockFormat headingBlock;
    QTextCharFormat headingCharacters;
    // Every table gets a copy of this with its own fixed column widths.
    QTextTableFormat table;
    QTextCharFormat tableHeaderCharacters;
    QTextBlockFormat bodyBlock;
    QTextCharFormat bodyCharacters;
};
