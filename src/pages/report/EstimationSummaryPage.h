// The "Estimation Summary" page: the report of the last estimation, ready
// to print or save as PDF. It can be visited only while estimates exist.
#pragma once

#include "pages/frame/PelkContentPage.h"

#include <QDateTime>

#include <functional>

class ReportForm;

class EstimationSummaryPage : public PelkContentPage
{
    Q_OBJECT

public:
    explicit EstimationSummaryPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "viewEstimationSummary.html"; }

    // Where the date of the report comes from; the current time unless a
    // test fixes it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

public slots:
    void onEstimationComplete();
    // These hide the frame's slots of the same names, which stay connected
    // to the window and keep showing and hiding the lock banner; these add
    // the report's part.
    void onClearEstimates();
    void onLockWorkspace();

private:
    ReportForm *m_reportForm;
    std::function<QDateTime()> m_clock = &QDateTime::currentDateTime;
};
