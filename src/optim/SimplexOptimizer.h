// The Nelder-Mead downhill simplex.
#pragma once

#include "optim/AbstractOptimizer.h"
#include "optim/SimplexSettings.h"

namespace zav {

class SimplexOptimizer : public AbstractOptimizer
{
    Q_OBJECT

public:
    // Takes its values from the settings record as it is now.
    explicit SimplexOptimizer(QObject *parent = nullptr);

    double fractionalTolerance = SimplexSettings::defaultFractionalTolerance;
    int maxFuncEvaluations = SimplexSettings::defaultMaxFuncEvaluations;
    double stepSize = SimplexSettings::defaultStepSize;

    void minimize(Func &function, std::vector<double> &point, const CancelFlag *cancelFlag,
                  int &numIterations) override;
};

} // namespace zav
