#include "optim/SimplexOptimizer.h"

#include "optim/PendingMethod.h"

namespace zav {

SimplexOptimizer::SimplexOptimizer(QObject *parent)
    : AbstractOptimizer(parent),
      fractionalTolerance(SimplexSettings::instance().fractionalTolerance),
      maxFuncEvaluations(SimplexSettings::instance().maxFuncEvaluations),
      stepSize(SimplexSettings::instance().stepSize)
{
}

void SimplexOptimizer::minimize(Func &, std::vector<double> &, const CancelFlag *, int &)
{
    methodNotAvailable();
}

} // namespace zav
