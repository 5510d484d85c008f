#include "estimation/ProfileLikelihoodsEstimator.h"

#include "estimation/PenalisedProfileSolver.h"
#include "estimation/ProfileLikelihoodEstimator.h"
#include "estimation/ProjectedProfileSolver.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "optim/NRError.h"

namespace pelk {

void ProfileLikelihoodsEstimator::run()
{
    if (!m_model || !m_parameterRequests || !m_variableRequests || !m_estimates || !m_function
        || !m_optimizer)
        return;
    postStatus(QStringLiteral("Estimating profile likelihood confidence intervals..."));
    // Progress counts searched sides: two per requested pair.
    beginProgress(2 * (m_parameterRequests->count() + m_variableRequests->count()));
    m_sidesDone = 0;
    for (int i = 0; i < m_model->parameterCount(); ++i)
        for (int alpha = 0; alpha < ProfileLikelihoods::alphaLevelCount(); ++alpha)
            if (m_parameterRequests->isRequested(i, alpha) && !estimate(Kind::Parameter, i, alpha))
                return;
    for (int i = 0; i < m_model->variableCount(); ++i)
        for (int alpha = 0; alpha < ProfileLikelihoods::alphaLevelCount(); ++alpha)
            if (m_variableRequests->isRequested(i, alpha) && !estimate(Kind::Function, i, alpha))
                return;
    postStatus(QStringLiteral("ProfileLikelihood estimation complete."));
}

bool ProfileLikelihoodsEstimator::estimate(Kind kind, int index, int alphaIndex)
{
    const bool isParameter = kind == Kind::Parameter;
    const QString name = isParameter ? m_model->parameterName(index) : m_model->variableName(index);
    std::unique_ptr<zav::ProfileSolver> solver;
    double mleValue = 0.0;
    if (isParameter) {
        mleValue = m_estimates->at(std::size_t(index));
        solver = std::make_unique<zav::PenalisedProfileSolver>(*m_estimates, m_function, index, *m_optimizer,
                                                               m_optimizerType);
    } else {
        m_model->pointParametersAt(m_estimates);
        const zav::Equation *function = m_model->variableEquation(index);
        mleValue = function->evaluate();
        solver = std::make_unique<ProjectedProfileSolver>(*m_estimates, *m_model, m_function,
                                                          function, *m_optimizer);
    }
    zav::ProfileLikelihoodEstimator estimator(*m_estimates, m_function, mleValue, m_precision,
                                              std::move(solver));
    connect(&estimator, &zav::ProfileLikelihoodEstimator::profileStatus, this,
            &ProfileLikelihoodsEstimator::profileStatus);

    const double target = zav::ProfileLikelihoodEstimator::targetChiSquared[alphaIndex];
    // "Convenience function " ends in a blank, so that header shows two.
    const QString kindText
        = isParameter ? QStringLiteral("Parameter") : QStringLiteral("Convenience function ");
    bool found[2] = {true, true};
    double bound[2] = {0.0, 0.0};
    for (const auto side : {zav::ProfileLikelihoodEstimator::Lower, zav::ProfileLikelihoodEstimator::Upper}) {
        const QString sideText = side == zav::ProfileLikelihoodEstimator::Lower ? QStringLiteral("lower")
                                                                                : QStringLiteral("upper");
        postStatus(kindText + u' ' + name + QStringLiteral(", alpha level = ")
                   + ProfileLikelihoods::alphaLevels().at(alphaIndex) + QStringLiteral(", ") + sideText
                   + QStringLiteral(" boundary"));
        postStatus(QStringLiteral("mle\tvalue\tchi-squared\ttarget chi-squared"));
        postStatus(QStringLiteral("---\t-----\t-----------\t------------------"));
        try {
            bound[side] = estimator.findBound(side, target, cancelFlag());
        } catch (const NR3::NRError &error) {
            postError(QString::fromLatin1(error.message));
            found[side] = false;
            bound[side] = 0.0;
        }
        if (isCanceled())
            return false;
        postProgress(++m_sidesDone);
    }
    ProfileLikelihoods *requests = isParameter ? m_parameterRequests : m_variableRequests;
    requests->setResult(index, alphaIndex, found[0], found[1], bound[0], bound[1], estimator.displayDigits());
    return true;
}

} // namespace pelk
