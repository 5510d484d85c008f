// The text forms of a result table: comma-separated lines for files,
// tab-separated lines with both headers for the clipboard, and bare
// tab-separated cells for a copied selection. Numbers are written in the
// general format with the given significant digits; text cells (category
// labels, "--na--", formatted profile limits) are written as they stand.
#pragma once

#include <QString>

class QAbstractItemModel;
class QItemSelectionRange;
class QVariant;

class TableExport
{
public:
    static constexpr int fileDigits = 12;
    static constexpr int clipboardDigits = 15;

    static QString cellText(const QVariant &value, int significantDigits);

    // Header line: the column headers separated by commas, with no field
    // for the row-header column. Then per row: the row header, and a comma
    // and the cell for every column.
    static QString commaSeparated(const QAbstractItemModel &model, int significantDigits = fileDigits);
    // First line: a tab and the header for every column (the corner cell is
    // empty). Then per row: the row header, and a tab and the cell for every
    // column.
    static QString tabSeparated(const QAbstractItemModel &model, int significantDigits = clipboardDigits);
    // The cells of the range, tab-separated, one line per row; no headers.
    static QString range(const QAbstractItemModel &model, const QItemSelectionRange &range,
                         int significantDigits = fileDigits);
};
