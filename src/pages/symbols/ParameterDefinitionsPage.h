#pragma once
#include "optim/OptimizerFactory.h"
#include "pages/frame/PelkContentPage.h"
#include <vector>
namespace pelk {
class ModelDefinition;
class ProfileLikelihoods;
} // namespace pelk
class ObservedExpectedModel;

class ParameterDefinitionsPage : public PelkContentPage
{
    Q_OBJECT
public:
    explicit ParameterDefinitionsPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "defineParameters.html"; }
    void setModelDefinition(pelk::ModelDefinition *model);
};
