#include "optim/PowellOptimizer.h"

#include "optim/PendingMethod.h"

namespace zav {

void PowellOptimizer::minimize(Func &, std::vector<double> &, const CancelFlag *, int &)
{
    methodNotAvailable();
}

} // namespace zav
