#pragma once
#include "optim/OptimizerFactory.h"
#include "pages/frame/PelkContentPage.h"
#include <vector>
namespace pelk {
class ModelDefinition;
class ProfileLikelihoods;
} // namespace pelk
class ObservedExpectedModel;

class ParameterSeedsPage : public PelkContentPage
{
    Q_OBJECT
public:
    explicit ParameterSeedsPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "setParameterSeeds.html"; }
    void setModelDefinition(pelk::ModelDefinition *model, std::vector<double> *seeds);
    void setSeed(int i, double value);
signals:
    void parameterSeedsChanged();

private:
    std::vector<double> *m_seeds = nullptr;
};
