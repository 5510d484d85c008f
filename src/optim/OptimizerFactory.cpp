#include "optim/OptimizerFactory.h"

#include "optim/FletchOptimizer.h"
#include "optim/PowellOptimizer.h"
#include "optim/SimplexOptimizer.h"

namespace zav {

OptimizerFactory::OptimizerFactory() = default;
OptimizerFactory::~OptimizerFactory() = default;

OptimizerFactory &OptimizerFactory::instance()
{
    // Created on first use and deliberately never destroyed: optimizers are
    // QObjects, and destroying one after QCoreApplication is gone is unsafe.
    static OptimizerFactory *factory = new OptimizerFactory;
    return *factory;
}

void OptimizerFactory::setOptimizerType(OptimizerType type)
{
    m_optimizer.reset();
    m_optimizerType = type;
    switch (type) {
    case Powell:
        m_optimizer = std::make_unique<PowellOptimizer>();
        break;
    case Fletch:
        m_optimizer = std::make_unique<FletchOptimizer>();
        break;
    case Simplex:
        m_optimizer = std::make_unique<SimplexOptimizer>();
        break;
    case NoOptimizer:
        break;
    }
}

AbstractOptimizer *OptimizerFactory::configuredOptimizer()
{
    switch (m_optimizerType) {
    case Fletch: {
        const FletchSettings &settings = FletchSettings::instance();
        FletchEngine &engine = static_cast<FletchOptimizer *>(m_optimizer.get())->engine();
        engine.maxIterations = settings.maxIterations;
        engine.stepSize = settings.stepSize;
        engine.precision = settings.precision;
        break;
    }
    case Simplex: {
        const SimplexSettings &settings = SimplexSettings::instance();
        auto *simplex = static_cast<SimplexOptimizer *>(m_optimizer.get());
        simplex->fractionalTolerance = settings.fractionalTolerance;
        simplex->maxFuncEvaluations = settings.maxFuncEvaluations;
        simplex->stepSize = settings.stepSize;
        break;
    }
    case Powell:
    case NoOptimizer:
        break;
    }
    return m_optimizer.get();
}

} // namespace zav
