#include "ProfileLikelihoodsPage.h"

ProfileLikelihoodsPage::ProfileLikelihoodsPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Profile Likelihood Confidence Intervals")
{}
void ProfileLikelihoodsPage::setModelDefinition(pelk::ModelDefinition *, pelk::ProfileLikelihoods *,
                                                pelk::ProfileLikelihoods *)
{}
