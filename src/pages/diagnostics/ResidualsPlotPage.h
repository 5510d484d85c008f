// The page "Residuals Plot": the Anscombe residual of every row of the
// observed-versus-expected table, in row order from left to right, with
// dashed reference lines at +-1.96. The vertical scale s is the largest
// absolute residual, at least 2.5, so that the reference lines always show:
// a residual r is drawn at height r * H / s above the axis.
//
// Residuals that are not finite (an expected count of 0, an abundance below
// the observed total) have no point and do not enter the scale; their row
// keeps its place on the horizontal axis.
#pragma once

#include "PlotPage.h"

class QGraphicsLineItem;

class ResidualsPlotPage : public PlotPage
{
    Q_OBJECT

public:
    static constexpr double plotWidth = 1000.0; // W
    static constexpr double halfHeight = 300.0; // H
    static constexpr double margin = 30.0; // M
    static constexpr double minimumScale = 2.5;
    static constexpr double referenceResidual = 1.96; // two-sided 95% normal quantile

    explicit ResidualsPlotPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "viewResidualsPlot.html"; }

    // The residual of the top edge of the plot at the last rebuild.
    double scale() const { return m_scale; }
    const QList<QGraphicsLineItem *> &referenceLines() const { return m_referenceLines; }

protected:
    void rebuild(const ObservedExpectedModel &model) override;

private:
    QList<QGraphicsLineItem *> m_referenceLines;
    double m_scale = minimumScale;
};
