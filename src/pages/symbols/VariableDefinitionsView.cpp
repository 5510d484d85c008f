#include "VariableDefinitionsView.h"

#include "VariableDefinitionsModel.h"

#include <QItemSelectionModel>
#include <QMenu>
#include <QResizeEvent>

#include <memory>

VariableDefinitionsView::VariableDefinitionsView(QWidget *parent) : QTableView(parent)
{
    setMinimumWidth(400);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &VariableDefinitionsView::showContextMenu);
}

void VariableDefinitionsView::setDefinitionsModel(VariableDefinitionsModel *model)
{
    QItemSelectionModel *oldSelection = selectionModel();
    m_model = model;
    setModel(model);
    delete oldSelection;
    fitColumns(viewport()->width());
}

QMenu *VariableDefinitionsView::createContextMenu(const QPoint &point)
{
    const QModelIndex index = indexAt(point);
    if (m_locked || !m_model || !index.isValid() || index.row() >= m_model->entryRow())
        return nullptr;
    auto *menu = new QMenu(this);
    QAction *deleteAction = menu->addAction("Delete");
    const QPersistentModelIndex row(index);
    connect(deleteAction, &QAction::triggered, this, [this, row] {
        if (m_model && row.isValid())
            m_model->deleteFunction(row.row());
    });
    return menu;
}

void VariableDefinitionsView::showContextMenu(QPoint point)
{
    std::unique_ptr<QMenu> menu(createContextMenu(point));
    if (menu)
        menu->exec(viewport()->mapToGlobal(point));
}

void VariableDefinitionsView::onClearEstimates()
{
    m_locked = false;
}

void VariableDefinitionsView::onLockWorkspace()
{
    m_locked = true;
}

void VariableDefinitionsView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    // Both the view and its viewport report resizes here; the columns share
    // the viewport, the width the cells really have, so that no horizontal
    // scroll bar appears.
    fitColumns(viewport()->width());
}

void VariableDefinitionsView::fitColumns(int width)
{
    if (!m_model)
        return;
    setColumnWidth(VariableDefinitionsModel::NameColumn, width / 3);
    setColumnWidth(VariableDefinitionsModel::DefinitionColumn, width - width / 3);
}
