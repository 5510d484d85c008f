#include "ParameterEstimatesPage.h"

#include "ParameterEstimatesModel.h"

#include "app/PelkWindow.h"

ParameterEstimatesPage::ParameterEstimatesPage(PelkWindow *mainWindow)
    : TableContentPage(mainWindow, QStringLiteral("Parameter Estimates"))
{
    setAvailable(false);
    connect(mainWindow, &PelkWindow::estimationComplete, this, &ParameterEstimatesPage::onEstimationComplete);
}

void ParameterEstimatesPage::onEstimationComplete()
{
    if (const pelk::EstimationSummary *summary = mainWindow()->summary())
        setModel(new ParameterEstimatesModel(summary->parameters, this));
}
