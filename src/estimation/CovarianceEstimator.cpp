#include "estimation/CovarianceEstimator.h"

#include "optim/HessianCalculator.h"
#include "optim/NRError.h"

namespace pelk {

void CovarianceEstimator::run()
{
    if (!m_function || !m_estimates || !m_covariance)
        return;
    m_completed = false;
    postStatus(QStringLiteral("Estimating covariance matrix..."));
    const int n = int(m_estimates->size());
    const double evaluations = zav::HessianCalculator::evaluationCount(n);
    // A long measurement says what it is doing; a short one would only
    // clutter the log.
    if (evaluations >= longHessianEvaluations)
        postStatus(QStringLiteral("Measuring the Hessian of %1 parameters: %2 evaluations of the "
                                  "log-likelihood.")
                       .arg(n)
                       .arg(evaluations, 0, 'f', 0));
    if (m_rank)
        m_rank->reset();
    zav::Matrix hessian;
    try {
        zav::HessianCalculator calculator(cancelFlag(), relativeStep);
        beginProgress(n * (n + 1) / 2);
        calculator.setProgress([this](int done, int) { postProgress(done); });
        calculator.computeCovariance(*m_function, *m_estimates, *m_covariance, &hessian);
        if (!isCanceled()) {
            m_completed = true;
            postStatus(QStringLiteral("Covariance matrix estimation complete."));
            emit covarianceEstimationComplete();
        }
    } catch (const NR3::NRError &error) {
        postError(QString::fromLatin1(error.message));
        postStatus(QStringLiteral("Covariance matrix estimation failed."));
    }
    // An inverse means full rank; a singular Hessian, which has none, still
    // tells how many parameters the data determine.
    if (m_rank && !isCanceled() && hessian.rows() == n)
        *m_rank = m_completed ? std::optional<int>(n) : zav::HessianCalculator::rank(hessian);
}

} // namespace pelk
