// The profile likelihood of each profiled quantity, the picture analysts
// judge an interval by: the likelihood-ratio statistic 2 (f(profile at q)
// - f at the estimates) against q through every point the searches and
// the curve run evaluated, the targets of the requested levels as labelled
// horizontal lines, the estimate and the limits marked, and the quadratic
// (q - estimate)^2 / s.e.^2 that a Wald interval assumes, dashed, for
// comparison. A list above the plot picks the quantity. The page is
// available while the last estimation has profile points to show.
#pragma once

#include "PlotPage.h"

#include "estimation/EstimationSummary.h"

class QComboBox;

class ProfilePlotPage : public PlotPage
{
    Q_OBJECT

public:
    explicit ProfilePlotPage(PelkWindow *mainWindow);

    QComboBox *quantityList() const { return m_quantityList; }
    QString helpPageName() const override { return QStringLiteral("viewProfileLikelihoodPlot.html"); }

public slots:
    // Takes the summary's curves and limits (copied, not kept) and draws
    // the quantity chosen before, or the first; available only with curves.
    void setSummary(const pelk::EstimationSummary *summary);

private:
    void draw(int curveIndex);

    QComboBox *m_quantityList;
    QList<pelk::EstimationSummary::ProfileCurve> m_curves;
    QList<pelk::EstimationSummary::ProfileInterval> m_intervals;
};
