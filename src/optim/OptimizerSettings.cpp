#include "optim/OptimizerSettings.h"

#include "optim/FletchOptimizer.h"
#include "optim/SimplexOptimizer.h"

namespace zav {

std::unique_ptr<AbstractOptimizer> OptimizerSettings::createOptimizer() const
{
    std::unique_ptr<AbstractOptimizer> optimizer = OptimizerFactory::create(type);
    if (optimizer)
        configure(*optimizer);
    return optimizer;
}

void OptimizerSettings::configure(AbstractOptimizer &optimizer) const
{
    switch (type) {
    case OptimizerFactory::Fletch: {
        FletchEngine &engine = static_cast<FletchOptimizer &>(optimizer).engine();
        engine.maxIterations = fletch.maxIterations;
        engine.stepSize = fletch.stepSize;
        engine.precision = fletch.precision;
        break;
    }
    case OptimizerFactory::Simplex: {
        auto &method = static_cast<SimplexOptimizer &>(optimizer);
        method.fractionalTolerance = simplex.fractionalTolerance;
        method.maxFuncEvaluations = simplex.maxFuncEvaluations;
        method.stepSize = simplex.stepSize;
        break;
    }
    case OptimizerFactory::Powell:
    case OptimizerFactory::NoOptimizer:
        break;
    }
}

OptimizerSettings OptimizerSettings::current()
{
    return {OptimizerFactory::instance().optimizerType(), FletchSettings::instance(),
            SimplexSettings::instance()};
}

void OptimizerSettings::makeCurrent() const
{
    OptimizerFactory::instance().setOptimizerType(type);
    FletchSettings::instance() = fletch;
    SimplexSettings::instance() = simplex;
}

} // namespace zav
