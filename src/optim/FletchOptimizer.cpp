#include "optim/FletchOptimizer.h"

#include "optim/NRError.h"

namespace zav {

FletchOptimizer::FletchOptimizer(QObject *parent)
    : AbstractOptimizer(parent), m_engine(std::make_unique<FletchEngine>())
{}

FletchOptimizer::~FletchOptimizer() = default;

// Works on the caller's point itself: after an exceeded limit it holds the
// last accepted point. The start value is evaluated for the signal, by the
// engine's set-up and again by its core, keeping the sequence of evaluations
// of earlier PELK versions.
void FletchOptimizer::minimize(Func &function, std::vector<double> &point, const CancelFlag *cancelFlag,
                               int &numIterations)
{
    emit beginOptimization(QStringLiteral("Fletch"), function(point));
    m_engine->prepare(function, point, cancelFlag);
    if (m_engine->run(function, point, numIterations) == FletchEngine::IterationLimit)
        throw NR3::NRError("Maximum number of iterations exceeded in fletch");
    emit endOptimization(QStringLiteral("Fletch"), function(point), numIterations);
}

} // namespace zav
