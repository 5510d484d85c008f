#include "estimation/CovarianceEstimator.h"

#include "optim/HessianCalculator.h"
#include "optim/NRError.h"

namespace pelk {

void CovarianceEstimator::run()
{
    if (!m_function || !m_estimates || !m_covariance)
        return;
    postStatus(QStringLiteral("Estimating covariance matrix..."));
    try {
        zav::HessianCalculator(cancelFlag(), relativeStep)
            .computeCovariance(*m_function, *m_estimates, *m_covariance);
        if (!isCanceled()) {
            postStatus(QStringLiteral("Covariance matrix estimation complete."));
            emit covarianceEstimationComplete();
        }
    } catch (const NR3::NRError &error) {
        postError(QString::fromLatin1(error.message));
        postStatus(QStringLiteral("Covariance matrix estimation failed."));
    }
}

} // namespace pelk
