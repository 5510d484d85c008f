#include "CovarianceMatrixPage.h"

#include "CovarianceMatrixModel.h"
#include "ParameterNames.h"

#include "app/PelkWindow.h"

CovarianceMatrixPage::CovarianceMatrixPage(PelkWindow *mainWindow)
    : TableContentPage(mainWindow, QStringLiteral("Covariance Matrix"))
{
    setAvailable(false);
    connect(mainWindow, &PelkWindow::estimationComplete, this, &CovarianceMatrixPage::onEstimationComplete);
}

void CovarianceMatrixPage::onEstimationComplete()
{
    const pelk::EstimationSummary *summary = mainWindow()->summary();
    if (!summary)
        return;
    setModel(summary->covariance
                 ? new CovarianceMatrixModel(parameterNames(*summary), *summary->covariance, this)
                 : nullptr);
}
