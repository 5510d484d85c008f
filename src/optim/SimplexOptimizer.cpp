#include "optim/SimplexOptimizer.h"

#include "optim/SimplexEngine.h"

namespace zav {

SimplexOptimizer::SimplexOptimizer(QObject *parent)
    : AbstractOptimizer(parent),
      fractionalTolerance(SimplexSettings::defaultFractionalTolerance),
      maxFuncEvaluations(SimplexSettings::defaultMaxFuncEvaluations),
      stepSize(SimplexSettings::defaultStepSize)
{}

void SimplexOptimizer::minimize(Func &function, std::vector<double> &point, const CancelFlag *cancelFlag,
                                int &numIterations)
{
    // The simplex reports no progress signals: the estimation log shows only
    // its iteration count.
    SimplexEngine engine(function, fractionalTolerance, maxFuncEvaluations, stepSize);
    point = engine.minimize(point, cancelFlag);
    numIterations = engine.evaluationCount() + 1;
}

} // namespace zav
