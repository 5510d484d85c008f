// The three methods are not built yet: until they are, every run fails with
// a numeric error instead of pretending to have minimised anything.
#include "optim/FletchOptimizer.h"
#include "optim/NRError.h"
#include "optim/PowellOptimizer.h"
#include "optim/SimplexOptimizer.h"

namespace zav {

namespace {
[[noreturn]] void notAvailable()
{
    throw NR3::NRError("This minimisation method is not available yet");
}
} // namespace

void PowellOptimizer::minimize(Func &, std::vector<double> &, const CancelFlag *, int &)
{
    notAvailable();
}

FletchOptimizer::FletchOptimizer(QObject *parent)
    : AbstractOptimizer(parent), m_engine(std::make_unique<FletchEngine>())
{}

FletchOptimizer::~FletchOptimizer() = default;

void FletchOptimizer::minimize(Func &, std::vector<double> &, const CancelFlag *, int &)
{
    notAvailable();
}

SimplexOptimizer::SimplexOptimizer(QObject *parent)
    : AbstractOptimizer(parent),
      fractionalTolerance(SimplexSettings::instance().fractionalTolerance),
      maxFuncEvaluations(SimplexSettings::instance().maxFuncEvaluations),
      stepSize(SimplexSettings::instance().stepSize)
{}

void SimplexOptimizer::minimize(Func &, std::vector<double> &, const CancelFlag *, int &)
{
    notAvailable();
}

} // namespace zav
