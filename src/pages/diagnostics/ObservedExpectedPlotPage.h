// The page "Observed vs Expected Plot": one black point per row of the
// observed-versus-expected table, the observed count along the horizontal
// axis and the expected count up the vertical one. Both axes share one
// scale, from 0 (or the lowest value, when one is negative) to the largest
// count of either kind, in a square plot area, so that the blue line is
// observed = expected: a point above it is a category the model expects
// more of than were seen, a point below one it expects fewer of. Rows with
// a count that is not finite have no point.
#pragma once

#include "DiagnosticPlotPage.h"

class ObservedExpectedPlotPage : public DiagnosticPlotPage
{
    Q_OBJECT

public:
    explicit ObservedExpectedPlotPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "viewObservedExpectedPlot.html"; }

protected:
    void rebuild(const ObservedExpectedModel &model) override;
};
