#include "PlotForm.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

PlotForm::PlotForm(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PlotForm"));

    m_zoomSlider = new QSlider(Qt::Horizontal, this);
    m_zoomSlider->setObjectName(QStringLiteral("zoomSlider"));
    m_zoomSlider->setRange(100, 200);
    m_zoomSlider->setValue(100);
    m_zoomSlider->setSliderPosition(100);
    m_zoomSlider->setTickPosition(QSlider::NoTicks);
    m_zoomSlider->setTickInterval(25);
    m_zoomSlider->setToolTip(QStringLiteral("Zoom In"));
    m_zoomSlider->setWhatsThis(
        QStringLiteral("Use this slider to zoom in on the graph.  The graph may also be "
                       "enlarged by enlarging the entire window"));

    m_graphicsView = new QGraphicsView(this);
    m_graphicsView->setObjectName(QStringLiteral("graphicsView"));
    m_graphicsView->setRenderHint(QPainter::Antialiasing);

    auto *sliderRow = new QHBoxLayout;
    sliderRow->addWidget(m_zoomSlider);
    sliderRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(sliderRow);
    layout->addWidget(m_graphicsView);

    connect(m_zoomSlider, &QSlider::valueChanged, this, &PlotForm::onSliderValueChanged);
}

void PlotForm::fitSceneToView()
{
    if (QGraphicsScene *scene = m_graphicsView->scene()) {
        // Fitted, the scene needs no scroll bars; without this the fit would
        // be computed for a viewport narrowed by the bars of a zoomed view.
        m_graphicsView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_graphicsView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_graphicsView->fitInView(scene->sceneRect(), Qt::KeepAspectRatio);
        m_graphicsView->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_graphicsView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
    m_baseTransform = m_graphicsView->transform();
    const QSignalBlocker blocker(m_zoomSlider);
    m_zoomSlider->setValue(100);
}

void PlotForm::onSliderValueChanged(int value)
{
    const double zoom = value / 100.0 - 1.0;
    const QTransform t = m_graphicsView->transform();
    // Only the scale factors change; shear, translation and projection stay.
    m_graphicsView->setTransform(QTransform(m_baseTransform.m11() + zoom, t.m12(), t.m13(), t.m21(),
                                            m_baseTransform.m22() + zoom, t.m23(), t.m31(), t.m32(),
                                            t.m33()));
}

void PlotForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitSceneToView();
}
