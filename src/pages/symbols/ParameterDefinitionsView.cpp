#include "ParameterDefinitionsView.h"

#include "ParameterDefinitionsModel.h"

#include <QCursor>
#include <QItemSelectionModel>
#include <QMenu>
#include <QResizeEvent>

#include <memory>

ParameterDefinitionsView::ParameterDefinitionsView(QWidget *parent) : QTableView(parent)
{
    setMinimumWidth(400);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &ParameterDefinitionsView::showContextMenu);
}

void ParameterDefinitionsView::setDefinitionsModel(ParameterDefinitionsModel *model)
{
    QItemSelectionModel *oldSelection = selectionModel();
    m_model = model;
    setModel(model);
    delete oldSelection;
    fitColumns(viewport()->width());
}

QMenu *ParameterDefinitionsView::createContextMenu(const QPoint &point)
{
    const QPersistentModelIndex index = indexAt(point);
    if (m_locked || !m_model || !m_model->holdsParameter(index))
        return nullptr;
    auto *menu = new QMenu("Parameter Action", this);
    QAction *deleteAction = menu->addAction("Delete");
    connect(deleteAction, &QAction::triggered, this, [this, index] {
        if (m_model && index.isValid())
            m_model->deleteParameter(index);
    });
    return menu;
}

void ParameterDefinitionsView::showContextMenu(QPoint point)
{
    std::unique_ptr<QMenu> menu(createContextMenu(point));
    if (menu)
        menu->exec(QCursor::pos());
}

void ParameterDefinitionsView::onLockWorkspace()
{
    m_locked = true;
}

void ParameterDefinitionsView::onClearEstimates()
{
    m_locked = false;
}

void ParameterDefinitionsView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    // Both the view and its viewport report resizes here; the columns share
    // the viewport, the width the cells really have, so that no horizontal
    // scroll bar appears.
    fitColumns(viewport()->width());
}

void ParameterDefinitionsView::fitColumns(int width)
{
    if (!m_model)
        return;
    const int columns = m_model->columnCount();
    for (int column = 0; column < columns; ++column)
        setColumnWidth(column, width / columns);
}
