// The page "Observed vs Expected Plot": one point per row of the
// observed-versus-expected table, observed along the horizontal axis and
// expected up the vertical one, each axis scaled by its own largest value
// so the points fill the square. A point on the blue diagonal has its
// observed and expected counts in the same proportion to their maxima.
// Rows with a count that is not finite have no point; an axis whose largest
// value is not positive keeps a unit scale.
#pragma once

#include "PlotPage.h"

class QGraphicsTextItem;

class ObservedExpectedPlotPage : public PlotPage
{
    Q_OBJECT

public:
    static constexpr double side = 1000.0; // S
    static constexpr double margin = 30.0; // M
    static constexpr int labelPointSize = 36;

    explicit ObservedExpectedPlotPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "viewObservedExpectedPlot.html"; }

    QGraphicsTextItem *observedLabel() const { return m_observedLabel; }
    QGraphicsTextItem *expectedLabel() const { return m_expectedLabel; }

protected:
    void rebuild(const ObservedExpectedModel &model) override;

private:
    QGraphicsTextItem *m_observedLabel;
    QGraphicsTextItem *m_expectedLabel;
};
