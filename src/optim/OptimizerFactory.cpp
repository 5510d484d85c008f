#include "optim/OptimizerFactory.h"

#include "optim/FletchOptimizer.h"
#include "optim/OptimizerSettings.h"
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

std::unique_ptr<AbstractOptimizer> OptimizerFactory::create(OptimizerType type)
{
    switch (type) {
    case Powell:
        return std::make_unique<PowellOptimizer>();
    case Fletch:
        return std::make_unique<FletchOptimizer>();
    case Simplex:
        return std::make_unique<SimplexOptimizer>();
    case NoOptimizer:
        break;
    }
    return nullptr;
}

void OptimizerFactory::setOptimizerType(OptimizerType type)
{
    m_optimizer.reset();
    m_optimizerType = type;
    m_optimizer = create(type);
}

AbstractOptimizer *OptimizerFactory::configuredOptimizer()
{
    if (m_optimizer)
        OptimizerSettings::current().configure(*m_optimizer);
    return m_optimizer.get();
}

} // namespace zav
