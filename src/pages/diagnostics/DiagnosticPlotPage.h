// What both diagnostic plots share: they are drawn from the rows of the
// observed-versus-expected table of the last estimation, and a page becomes
// available once it has them.
#pragma once

#include "pages/plot/PlotPage.h"

class ObservedExpectedModel;

class DiagnosticPlotPage : public PlotPage
{
    Q_OBJECT

public:
    // Draws the model's rows in place of the earlier ones and makes the
    // page available. The model is read here only, not kept.
    void setObservedExpectedModel(const ObservedExpectedModel *model);

protected:
    using PlotPage::PlotPage;

    virtual void rebuild(const ObservedExpectedModel &model) = 0;
};
