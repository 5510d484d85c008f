#include "ProfileLikelihoodEstimatesPage.h"

#include "ProfileLikelihoodEstimatesModel.h"

#include "app/PelkWindow.h"

ProfileLikelihoodEstimatesPage::ProfileLikelihoodEstimatesPage(PelkWindow *mainWindow)
    : TableContentPage(mainWindow, QStringLiteral("Profile Likelihood Estimates"))
{
    setAvailable(false);
    connect(mainWindow, &PelkWindow::estimationComplete, this,
            &ProfileLikelihoodEstimatesPage::onEstimationComplete);
}

void ProfileLikelihoodEstimatesPage::onEstimationComplete()
{
    if (const pelk::EstimationSummary *summary = mainWindow()->summary())
        setModel(new ProfileLikelihoodEstimatesModel(summary->profiles, this));
}
