#pragma once
#include "optim/OptimizerFactory.h"
#include "pages/frame/PelkContentPage.h"
#include <vector>
namespace pelk {
class ModelDefinition;
class ProfileLikelihoods;
} // namespace pelk
class ObservedExpectedModel;

class ProfileLikelihoodsPage : public PelkContentPage
{
    Q_OBJECT
public:
    explicit ProfileLikelihoodsPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "setProfileLikelihoods.html"; }
    void setModelDefinition(pelk::ModelDefinition *model, pelk::ProfileLikelihoods *parameterRequests,
                            pelk::ProfileLikelihoods *variableRequests);
signals:
    void profileLikelihoodRequestsChanged();
};
