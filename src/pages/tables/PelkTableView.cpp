#include "PelkTableView.h"

#include "TableExport.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>

PelkTableView::PelkTableView(QWidget *parent) : QTableView(parent)
{
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &PelkTableView::showContextMenu);
}

QString PelkTableView::selectionText() const
{
    if (!model() || !selectionModel())
        return QString();
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return QString();
    return TableExport::range(*model(), selection.first());
}

void PelkTableView::showContextMenu(QPoint point)
{
    if (rowAt(point.y()) < 0)
        return;
    QMenu menu(this);
    QAction *copy = menu.addAction(QStringLiteral("copy"));
    connect(copy, &QAction::triggered, this, &PelkTableView::copySelection);
    menu.exec(viewport()->mapToGlobal(point));
}

void PelkTableView::copySelection()
{
    if (!selectionModel() || !selectionModel()->hasSelection())
        return;
    QApplication::clipboard()->setText(selectionText());
}
