#pragma once
#include "optim/OptimizerFactory.h"
#include "pages/frame/PelkContentPage.h"
#include <vector>
namespace pelk {
class ModelDefinition;
class ProfileLikelihoods;
} // namespace pelk
class ObservedExpectedModel;

class OptimizerPage : public PelkContentPage
{
    Q_OBJECT
public:
    explicit OptimizerPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "setOptimizer.html"; }
    void showOptimizerType(zav::OptimizerFactory::OptimizerType type);
signals:
    void usePreviousEstimatesSeedsStateChanged(bool state);
    void calculateCovarianceStateChanged(bool state);
    void optimizerSetupChanged();
};
