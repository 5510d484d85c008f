#include "CorrelationMatrixPage.h"

#include "CorrelationMatrixModel.h"
#include "ParameterNames.h"

#include "app/PelkWindow.h"

CorrelationMatrixPage::CorrelationMatrixPage(PelkWindow *mainWindow)
    : TableContentPage(mainWindow, QStringLiteral("Correlation Matrix"))
{
    setAvailable(false);
    connect(mainWindow, &PelkWindow::estimationComplete, this, &CorrelationMatrixPage::onEstimationComplete);
}

void CorrelationMatrixPage::onEstimationComplete()
{
    const pelk::EstimationSummary *summary = mainWindow()->summary();
    if (!summary)
        return;
    setModel(summary->covariance
                 ? new CorrelationMatrixModel(parameterNames(*summary), *summary->covariance, this)
                 : nullptr);
}
