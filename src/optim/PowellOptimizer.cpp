#include "optim/PowellOptimizer.h"

#include "optim/PowellEngine.h"

namespace zav {

namespace {

const QString optimizerName = QStringLiteral("Powell");

} // namespace

void PowellOptimizer::minimize(Func &function, std::vector<double> &point, const CancelFlag *cancelFlag,
                               int &numIterations)
{
    emit beginOptimization(optimizerName, function(point));
    PowellEngine engine(function, fractionalTolerance, m_maxIterations, cancelFlag);
    point = engine.minimize(point);
    // The counter is zero-based: a run that converges in its first iteration
    // reports 1.
    numIterations = engine.iteration() + 1;
    emit endOptimization(optimizerName, function(point), numIterations);
}

} // namespace zav
