#include "CaptionedToolBars.h"

#include <QGridLayout>
#include <QLabel>
#include <QToolBar>

CaptionedToolBars::CaptionedToolBars(const QList<QToolBar *> &toolBars, QWidget *parent) : QWidget(parent)
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setColumnStretch(1, 1);
    for (int row = 0; row < toolBars.size(); ++row) {
        QToolBar *toolBar = toolBars.at(row);
        layout->addWidget(new QLabel(toolBar->windowTitle() + QLatin1Char(':'), this), row, 0,
                          Qt::AlignLeft | Qt::AlignVCenter);
        layout->addWidget(toolBar, row, 1);
    }
}
