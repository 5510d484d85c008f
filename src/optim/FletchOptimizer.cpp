#include "optim/FletchOptimizer.h"

#include "optim/PendingMethod.h"

namespace zav {

FletchOptimizer::FletchOptimizer(QObject *parent) : AbstractOptimizer(parent), m_engine(std::make_unique<FletchEngine>()) {}

FletchOptimizer::~FletchOptimizer() = default;

void FletchOptimizer::minimize(Func &, std::vector<double> &, const CancelFlag *, int &)
{
    methodNotAvailable();
}

} // namespace zav
