#include "LikelihoodDefinitionView.h"

#include "LikelihoodDefinitionModel.h"

#include <QAction>
#include <QMenu>
#include <QResizeEvent>

LikelihoodDefinitionView::LikelihoodDefinitionView(LikelihoodDefinitionModel *model, QWidget *parent)
    : QTableView(parent), m_model(model)
{
    setObjectName("likelihoodDefinitionView");
    setModel(model);
    setMinimumWidth(500);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &LikelihoodDefinitionView::showContextMenu);
}

// A scroll area hears of its new size through its viewport, so the width
// shared out is the viewport's.
void LikelihoodDefinitionView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    const int width = event->size().width();
    setColumnWidth(LikelihoodDefinitionModel::LabelColumn, width / 3);
    setColumnWidth(LikelihoodDefinitionModel::CountsColumn, width / 4);
    setColumnWidth(LikelihoodDefinitionModel::ProbabilityColumn, width - width / 4 - width / 3);
}

void LikelihoodDefinitionView::showContextMenu(QPoint point)
{
    if (m_locked)
        return;
    const QModelIndex index = indexAt(point);
    if (!index.isValid())
        return;
    QMenu menu(this);
    QAction *deleteAction = menu.addAction("Delete");
    if (menu.exec(viewport()->mapToGlobal(point)) == deleteAction)
        m_model->deleteRow(index.row());
}

void LikelihoodDefinitionView::onClearEstimates()
{
    m_locked = false;
}

void LikelihoodDefinitionView::onLockWorkspace()
{
    m_locked = true;
}
