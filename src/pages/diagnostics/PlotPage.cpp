#include "PlotPage.h"

#include "PlotForm.h"

#include "app/PelkWindow.h"

#include <QBrush>
#include <QGraphicsEllipseItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPen>
#include <QTimer>
#include <QVBoxLayout>

PlotPage::PlotPage(PelkWindow *mainWindow, const QString &title) : PelkContentPage(mainWindow, title)
{
    m_scene = new QGraphicsScene(this);
    m_plotForm = new PlotForm(contentFrame());
    m_plotForm->graphicsView()->setScene(m_scene);
    contentLayout()->addWidget(m_plotForm);
    setAvailable(false);

    connect(mainWindow, &PelkWindow::lockWorkspace, this, &PlotPage::onLockWorkspace);
    connect(mainWindow, &PelkWindow::clearEstimates, this, &PlotPage::onClearEstimates);
}

void PlotPage::setObservedExpectedModel(const ObservedExpectedModel *model)
{
    if (model)
        rebuild(*model);
    setAvailable(true);
}

void PlotPage::onLockWorkspace()
{
    setAvailable(true);
}

void PlotPage::onClearEstimates()
{
    setAvailable(false);
}

void PlotPage::initializeView()
{
    m_plotForm->fitSceneToView();
}

void PlotPage::onPageActivated()
{
    // The view has its final size only once the page is laid out and shown.
    QTimer::singleShot(0, this, &PlotPage::initializeView);
}

void PlotPage::addPoint(double x, double y, const QColor &colour, const QString &toolTip)
{
    QGraphicsEllipseItem *point
        = m_scene->addEllipse(x, y, pointDiameter, pointDiameter, QPen(colour), QBrush(colour));
    point->setToolTip(toolTip);
    m_points.append(point);
}

void PlotPage::removePoints()
{
    qDeleteAll(m_points);
    m_points.clear();
}
