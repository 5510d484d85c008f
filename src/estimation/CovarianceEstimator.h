// The unit of work that estimates the covariance matrix of the estimates:
// the inverse of the finite-difference Hessian of the objective there.
#pragma once

#include "estimation/ThreadRunnable.h"
#include "optim/Func.h"
#include "optim/Matrix.h"

#include <optional>
#include <vector>

namespace pelk {

class CovarianceEstimator : public zav::ThreadRunnable
{
    Q_OBJECT

public:
    using zav::ThreadRunnable::ThreadRunnable;

    // Steps of the Hessian's differences, relative to each estimate.
    static constexpr double relativeStep = 1e-5;
    // From this many evaluations on (about 220 parameters), the log says
    // how many the Hessian needs.
    static constexpr double longHessianEvaluations = 1e5;

    // Set before each run; none of them is owned.
    void setFunction(zav::Func *function) { m_function = function; }
    void setEstimates(const std::vector<double> *estimates) { m_estimates = estimates; }
    void setCovariance(zav::Matrix *covariance) { m_covariance = covariance; }
    // Receives the measured Hessian's rank (none until one is measured).
    void setHessianRank(std::optional<int> *rank) { m_rank = rank; }

    void run() override;

    // The matrix of this unit's last run, or null when that run did not
    // complete it. For the units after this one on the worker thread: the
    // GUI thread learns of it through covarianceEstimationComplete.
    const zav::Matrix *computedCovariance() const { return m_completed ? m_covariance : nullptr; }

signals:
    void covarianceEstimationComplete();

private:
    zav::Func *m_function = nullptr;
    const std::vector<double> *m_estimates = nullptr;
    zav::Matrix *m_covariance = nullptr;
    std::optional<int> *m_rank = nullptr;
    bool m_completed = false; // written and read on the worker thread
};

} // namespace pelk
