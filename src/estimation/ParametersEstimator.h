// The unit of work that estimates the parameters: it minimises the
// objective from the seeds with the run's optimizer (RestartedMinimization).
// A run that ends where the objective cannot be computed (the unusable-point
// cap, an infinite or NaN value) fails, whichever method ran, and ends the
// estimation run: the covariance and the profiles need estimates.
#pragma once

#include "estimation/ThreadRunnable.h"
#include "optim/Func.h"
#include "optim/OptimizerFactory.h"

#include <vector>

namespace pelk {

class ParametersEstimator : public zav::ThreadRunnable
{
    Q_OBJECT

public:
    using zav::ThreadRunnable::ThreadRunnable;

    // Set before each run: the objective and the estimates vector, which
    // holds the start point and receives the minimiser. Neither is owned.
    void setFunction(zav::Func *function) { m_function = function; }
    void setPoint(std::vector<double> *point) { m_point = point; }
    // The run's optimizer (not owned; null fails the run) and its method.
    void setOptimizer(zav::AbstractOptimizer *optimizer, zav::OptimizerFactory::OptimizerType type)
    {
        m_optimizer = optimizer;
        m_optimizerType = type;
    }

    void run() override;


    // The advice line of a run that found no usable point.
    static QString noUsableStartingPoint();

signals:
    void parameterEstimationComplete();

public slots:
    void onBeginOptimization(const QString &optimizerName, double beginFuncValue);
    void onEndOptimization(const QString &optimizerName, double endFuncValue, int numIterations);

private:
    zav::Func *m_function = nullptr;
    std::vector<double> *m_point = nullptr;
    zav::AbstractOptimizer *m_optimizer = nullptr;
    zav::OptimizerFactory::OptimizerType m_optimizerType = zav::OptimizerFactory::NoOptimizer;
};

} // namespace pelk
