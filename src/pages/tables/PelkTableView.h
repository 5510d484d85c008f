// The table view of the result pages. Its context menu, over a row, offers
// "copy": the first selected block of cells goes to the clipboard as
// tab-separated lines, ready to paste into a spreadsheet.
#pragma once

#include <QTableView>

class PelkTableView : public QTableView
{
    Q_OBJECT

public:
    explicit PelkTableView(QWidget *parent = nullptr);

    // The text "copy" puts on the clipboard; empty without a selection.
    QString selectionText() const;

public slots:
    void showContextMenu(QPoint point);
    void copySelection();
};
