// The page "Profile Likelihood Estimates": the profile-likelihood confidence
// intervals of the last run.
#pragma once

#include "TableContentPage.h"

class ProfileLikelihoodEstimatesPage : public TableContentPage
{
    Q_OBJECT

public:
    explicit ProfileLikelihoodEstimatesPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "resultsTables.html"; }

public slots:
    void onEstimationComplete();
};
