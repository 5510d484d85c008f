#include "estimation/ParametersEstimator.h"

#include "optim/AbstractOptimizer.h"
#include "optim/NRError.h"
#include "optim/OptimizerFactory.h"

namespace pelk {

namespace {

// Disconnects the optimizer's progress signals from everything on every
// way out of run(), so that the next run does not report twice.
class ProgressConnection
{
public:
    ProgressConnection(zav::AbstractOptimizer *optimizer, ParametersEstimator *receiver)
        : m_optimizer(optimizer)
    {
        QObject::connect(optimizer, &zav::AbstractOptimizer::beginOptimization, receiver,
                         &ParametersEstimator::onBeginOptimization);
        QObject::connect(optimizer, &zav::AbstractOptimizer::endOptimization, receiver,
                         &ParametersEstimator::onEndOptimization);
    }
    ~ProgressConnection()
    {
        QObject::disconnect(m_optimizer, &zav::AbstractOptimizer::beginOptimization, nullptr, nullptr);
        QObject::disconnect(m_optimizer, &zav::AbstractOptimizer::endOptimization, nullptr, nullptr);
    }

private:
    zav::AbstractOptimizer *m_optimizer;
};

} // namespace

void ParametersEstimator::run()
{
    zav::AbstractOptimizer *optimizer = zav::OptimizerFactory::instance().configuredOptimizer();
    if (!optimizer || !m_function || !m_point) {
        postError(QStringLiteral("No optimizer has been selected."));
        return;
    }
    const bool isSimplex
        = zav::OptimizerFactory::instance().optimizerType() == zav::OptimizerFactory::Simplex;
    const ProgressConnection connection(optimizer, this);
    try {
        postStatus(QStringLiteral("Estimating model parameters..."));
        int numIterations = 0;
        optimizer->minimize(*m_function, *m_point, cancelFlag(), numIterations);
        // The simplex restarts only while they lower the objective: its
        // value and point so far.
        double value = isSimplex ? (*m_function)(*m_point) : 0.0;
        std::vector<double> previous;
        for (int pass = 0; pass < maxReestimations && numIterations > 2; ++pass) {
            postStatus(QStringLiteral("Re-estimating parameters using estimates as new seeds..."));
            if (isSimplex)
                previous = *m_point;
            optimizer->minimize(*m_function, *m_point, cancelFlag(), numIterations);
            if (isCanceled())
                return;
            if (isSimplex) {
                const double newValue = (*m_function)(*m_point);
                if (!(newValue < value)) {
                    // No gain: keep the better point and stop restarting.
                    if (newValue > value)
                        *m_point = previous;
                    break;
                }
                value = newValue;
            }
        }
        if (!isCanceled()) {
            postStatus(QStringLiteral("Parameter estimation complete."));
            emit parameterEstimationComplete();
        }
    } catch (const NR3::NRError &error) {
        postError(QString::fromLatin1(error.message));
    }
}

void ParametersEstimator::onBeginOptimization(const QString &optimizerName, double beginFuncValue)
{
    postStatus(optimizerName + QStringLiteral(": Starting function value: ")
               + QString::number(beginFuncValue, 'g', 15));
}

void ParametersEstimator::onEndOptimization(const QString &optimizerName, double endFuncValue,
                                            int numIterations)
{
    postStatus(optimizerName + QStringLiteral(": Ending function value: ")
               + QString::number(endFuncValue, 'g', 15));
    postStatus(optimizerName + QStringLiteral(": Number of iterations: ") + QString::number(numIterations));
}

} // namespace pelk
