#include "PlotForm.h"

#include "PlotChart.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

PlotForm::PlotForm(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PlotForm"));

    m_zoomSlider = new QSlider(Qt::Horizontal, this);
    m_zoomSlider->setObjectName(QStringLiteral("zoomSlider"));
    m_zoomSlider->setRange(100, 200);
    m_zoomSlider->setValue(100);
    m_zoomSlider->setToolTip(QStringLiteral("Zoom In"));
    m_zoomSlider->setWhatsThis(
        QStringLiteral("Use this slider to zoom in on the graph: at its right end each axis shows half "
                       "its range.  Drag the graph with the mouse to move the part shown.  The graph "
                       "may also be enlarged by enlarging the entire window"));
    auto *zoomLabel = new QLabel(QStringLiteral("&Zoom:"), this);
    zoomLabel->setBuddy(m_zoomSlider);
    m_zoomValue = new QLabel(this);

    m_chart = new PlotChart(this);
    m_saveAction = new QAction(QStringLiteral("Save Plot As..."), this);
    m_saveAction->setToolTip(QStringLiteral("Save the plot as a PNG or SVG image"));
    auto *saveButton = new QToolButton(this);
    saveButton->setDefaultAction(m_saveAction);
    m_chart->addAction(m_saveAction);
    m_chart->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto *controls = new QHBoxLayout;
    controls->addWidget(zoomLabel);
    controls->addWidget(m_zoomSlider);
    controls->addWidget(m_zoomValue);
    controls->addStretch();
    controls->addWidget(saveButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(controls);
    layout->addWidget(m_chart);

    connect(m_zoomSlider, &QSlider::valueChanged, this, &PlotForm::onSliderValueChanged);
    onSliderValueChanged(m_zoomSlider->value());
}

void PlotForm::onSliderValueChanged(int value)
{
    m_zoomValue->setText(QStringLiteral("%1%").arg(value));
    m_chart->setZoom(value / 100.0);
}
