#include "CaptionedToolBars.h"

#include <QFormLayout>
#include <QLabel>
#include <QToolBar>

CaptionedToolBars::CaptionedToolBars(const QList<QToolBar *> &toolBars, QWidget *parent) : QWidget(parent)
{
    auto *layout = new QFormLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (QToolBar *toolBar : toolBars)
        layout->addRow(new QLabel(toolBar->windowTitle() + QLatin1Char(':'), this), toolBar);
}
