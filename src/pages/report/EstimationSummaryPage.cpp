#include "EstimationSummaryPage.h"

#include "ReportForm.h"

#include "app/PelkWindow.h"

#include <QFrame>
#include <QVBoxLayout>

EstimationSummaryPage::EstimationSummaryPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Estimation Summary")
{
    m_reportForm = new ReportForm(mainWindow, contentFrame());
    contentLayout()->addWidget(m_reportForm);
    setAvailable(false);

    connect(mainWindow, &PelkWindow::estimationComplete, this, &EstimationSummaryPage::onEstimationComplete);
    connect(mainWindow, &PelkWindow::clearEstimates, this, &EstimationSummaryPage::onClearEstimates);
    connect(mainWindow, &PelkWindow::lockWorkspace, this, &EstimationSummaryPage::onLockWorkspace);
    // The report is rebuilt whole with the bootstrap at its end.
    connect(mainWindow, &PelkWindow::bootstrapComplete, this, &EstimationSummaryPage::onEstimationComplete);
}

void EstimationSummaryPage::onEstimationComplete()
{
    // The window computes the summary before announcing the estimation; a
    // run without one leaves nothing to report.
    const pelk::EstimationSummary *summary = mainWindow()->summary();
    if (!summary) {
        m_reportForm->clear();
        return;
    }
    m_reportForm->showSummary(*summary, m_clock());
    if (const pelk::BootstrapResult *bootstrap = mainWindow()->bootstrapResult())
        m_reportForm->appendBootstrap(*bootstrap);
    setAvailable(true);
}

void EstimationSummaryPage::onClearEstimates()
{
    m_reportForm->clear();
    setAvailable(false);
}

void EstimationSummaryPage::onLockWorkspace()
{
    setAvailable(true);
}
