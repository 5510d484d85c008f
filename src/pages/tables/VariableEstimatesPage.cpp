#include "VariableEstimatesPage.h"

#include "VariableEstimatesModel.h"

#include "app/PelkWindow.h"

VariableEstimatesPage::VariableEstimatesPage(PelkWindow *mainWindow)
    : TableContentPage(mainWindow, QStringLiteral("Convenience Function Estimates"))
{
    setAvailable(false);
    connect(mainWindow, &PelkWindow::estimationComplete, this, &VariableEstimatesPage::onEstimationComplete);
}

void VariableEstimatesPage::onEstimationComplete()
{
    if (const pelk::EstimationSummary *summary = mainWindow()->summary())
        setModel(new VariableEstimatesModel(summary->functions, this));
}
