#pragma once
#include "optim/OptimizerFactory.h"
#include "pages/frame/PelkContentPage.h"
#include <vector>
namespace pelk {
class ModelDefinition;
class ProfileLikelihoods;
} // namespace pelk
class ObservedExpectedModel;

class VariableDefinitionsPage : public PelkContentPage
{
    Q_OBJECT
public:
    explicit VariableDefinitionsPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "defineConvenienceFunctions.html"; }
    void setModelDefinition(pelk::ModelDefinition *model);
};
