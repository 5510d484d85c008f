// What both diagnostic plots share: a scene drawn in a PlotForm, the points
// of the last estimation (filled circles with a tool tip each), and the
// page's availability, which follows the workspace lock. The scene is
// fitted into the view whenever the page is shown.
#pragma once

#include "pages/frame/PelkContentPage.h"

#include <QColor>
#include <QList>

class ObservedExpectedModel;
class PlotForm;
class QGraphicsEllipseItem;
class QGraphicsScene;

class PlotPage : public PelkContentPage
{
    Q_OBJECT

public:
    static constexpr double pointDiameter = 20.0;

    PlotForm *plotForm() const { return m_plotForm; }
    QGraphicsScene *scene() const { return m_scene; }
    const QList<QGraphicsEllipseItem *> &points() const { return m_points; }

    // Replaces the points (and whatever else the plot derives from the
    // estimation) with those of the model; the page becomes available. The
    // model is read here only, not kept.
    void setObservedExpectedModel(const ObservedExpectedModel *model);

public slots:
    // These hide the base's slots of the same names, which stay connected
    // and still show and remove the lock indicator.
    void onLockWorkspace();
    void onClearEstimates();
    void initializeView();

protected:
    PlotPage(PelkWindow *mainWindow, const QString &title);

    virtual void rebuild(const ObservedExpectedModel &model) = 0;
    // Adds a point whose bounding box has its top-left corner at (x, y).
    void addPoint(double x, double y, const QColor &colour, const QString &toolTip);
    void removePoints();

protected slots:
    void onPageActivated() override;

private:
    PlotForm *m_plotForm;
    QGraphicsScene *m_scene;
    QList<QGraphicsEllipseItem *> m_points;
};
