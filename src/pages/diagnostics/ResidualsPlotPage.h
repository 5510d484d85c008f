// The page "Residuals Plot": the Anscombe residual of every row of the
// observed-versus-expected table, as blue points at the row's number (1 to
// n) from left to right, with a line at 0 and dashed red lines, labelled,
// at +-1.96. The vertical axis reaches at least +-minimumScale, so that the
// reference lines always show, and further to show the largest residual.
//
// Residuals that are not finite (an expected count of 0, an abundance below
// the observed total) have no point and do not enter the scale; their row
// keeps its number.
#pragma once

#include "DiagnosticPlotPage.h"

class ResidualsPlotPage : public DiagnosticPlotPage
{
    Q_OBJECT

public:
    static constexpr double minimumScale = 2.5;
    static constexpr double referenceResidual = 1.96; // two-sided 95% normal quantile

    explicit ResidualsPlotPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "viewResidualsPlot.html"; }

protected:
    void rebuild(const ObservedExpectedModel &model) override;
};
