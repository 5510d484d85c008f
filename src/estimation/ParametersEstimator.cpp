#include "estimation/ParametersEstimator.h"

#include "estimation/RestartedMinimization.h"
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
    zav::AbstractOptimizer *optimizer = m_optimizer;
    if (!optimizer || !m_function || !m_point) {
        postFailure(QStringLiteral("No optimizer has been selected."));
        return;
    }
    const bool isSimplex = m_optimizerType == zav::OptimizerFactory::Simplex;
    const ProgressConnection connection(optimizer, this);
    try {
        postStatus(QStringLiteral("Estimating model parameters..."));
        RestartedMinimization::run(*optimizer, isSimplex, *m_function, *m_point, cancelFlag(), [this] {
            postStatus(QStringLiteral("Re-estimating parameters using estimates as new seeds..."));
        });
        if (isCanceled())
            return;
        // Every method keeps the best point it has seen, so a final value
        // that is the unusable-point cap or not finite means that no point
        // on the way, the seeds included, could be used: the seeds are no
        // estimates and nothing can be computed from them.
        const double finalValue = (*m_function)(*m_point);
        if (!zav::isUsable(finalValue)) {
            postFailure(noUsableStartingPoint());
            return;
        }
        postStatus(QStringLiteral("Parameter estimation complete."));
        emit parameterEstimationComplete();
    } catch (const NR3::NRError &error) {
        const QString message = QString::fromLatin1(error.message);
        // Powell refuses seeds at which the objective cannot be computed.
        if (message.endsWith(QLatin1String("Invalid seeds"))) {
            postError(message);
            postFailure(noUsableStartingPoint());
        } else {
            postFailure(message);
        }
    }
}

QString ParametersEstimator::noUsableStartingPoint()
{
    return QStringLiteral("No usable starting point: the log-likelihood cannot be computed at the "
                          "seeds; check the seeds (an abundance at least the observed total, "
                          "probabilities between 0 and 1, positive standard errors).");
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
