#include "estimation/EstimationSequence.h"

#include "estimation/CovarianceEstimator.h"
#include "estimation/ParametersEstimator.h"
#include "estimation/ProfileCurvesEstimator.h"
#include "estimation/ProfileLikelihoodsEstimator.h"
#include "estimation/ThreadRunner.h"
#include "likelihood/Estimability.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "model/MessageSink.h"
#include "model/ModelDefinition.h"
#include "model/ModelValidator.h"
#include "model/ProfileLikelihoods.h"
#include "model/Workspace.h"
#include "optim/AbstractOptimizer.h"

namespace pelk {

EstimationSequence::EstimationSequence(QObject *parent)
    : QObject(parent),
      m_runner(new zav::ThreadRunner(this)),
      m_parametersEstimator(new ParametersEstimator(m_runner, this)),
      m_covarianceEstimator(new CovarianceEstimator(m_runner, this)),
      m_profileLikelihoodsEstimator(new ProfileLikelihoodsEstimator(m_runner, this)),
      m_curveRunner(new zav::ThreadRunner(this)),
      m_profileCurvesEstimator(new ProfileCurvesEstimator(m_curveRunner, this))
{
    m_curveRunner->setRunnable(m_profileCurvesEstimator);
    connect(m_curveRunner, &zav::ThreadRunner::runComplete, this, &EstimationSequence::onProfileCurvesEnded);
    connect(m_curveRunner, &zav::ThreadRunner::runCanceled, this, &EstimationSequence::onProfileCurvesEnded);
    connect(m_runner, &zav::ThreadRunner::status, this, &EstimationSequence::status);
    connect(m_runner, &zav::ThreadRunner::error, this, &EstimationSequence::error);
    connect(m_runner, &zav::ThreadRunner::percentComplete, this, &EstimationSequence::percentComplete);
    connect(m_runner, &zav::ThreadRunner::busy, this, &EstimationSequence::busy);
    connect(m_runner, &zav::ThreadRunner::runComplete, this, &EstimationSequence::onRunComplete);
    connect(m_runner, &zav::ThreadRunner::runCanceled, this, &EstimationSequence::onRunCanceled);
    connect(m_profileLikelihoodsEstimator, &ProfileLikelihoodsEstimator::profileStatus, this,
            &EstimationSequence::profileStatus);
    // Queued from the worker: both arrive before the runner's runComplete.
    connect(m_parametersEstimator, &ParametersEstimator::parameterEstimationComplete, this, [this] {
        if (m_results)
            m_results->parametersEstimated = true;
    });
    connect(m_covarianceEstimator, &CovarianceEstimator::covarianceEstimationComplete, this, [this] {
        if (m_results)
            m_results->covarianceAvailable = true;
    });
}

// The runner is destroyed first among the children that matter: its
// destructor stops a running worker before the runnables and the objective
// it uses go away.
EstimationSequence::~EstimationSequence()
{
    delete m_curveRunner;
    delete m_runner;
}

EstimationSequence::Readiness EstimationSequence::check(Workspace &workspace, MessageSink &sink)
{
    ModelDefinition &model = workspace.model;
    const QMap<QString, int> &categoryCounts = workspace.categoryCounts;
    if (!validate(model, sink)) {
        sink.write(
            QStringLiteral("Model Definition errors must be fixed before estimating the parameters.\n"),
            MessageSink::Bold);
        return Readiness::ModelInvalid;
    }
    // A count is data: a negative one (possible in a counts file) has no
    // meaning and would reach log-gamma at a negative argument.
    bool countsValid = true;
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        for (int i = 0; i < model.categoryCount(id); ++i) {
            const QString label = model.categoryLabel(id, i);
            const int count = categoryCounts.value(label, 0);
            if (count < 0) {
                sink.write(
                    QStringLiteral("Category \"%1\" has the negative count %2.\n").arg(label).arg(count),
                    MessageSink::Bold);
                countsValid = false;
            }
        }
    }
    if (!countsValid) {
        sink.write(QStringLiteral("Negative counts must be fixed before estimating the parameters.\n"),
                   MessageSink::Bold);
        return Readiness::CountsInvalid;
    }
    if (isEstimabilityDecidable(model) && sufficientStatisticDimension(model) < model.parameterCount())
        return Readiness::TooManyParameters;
    return Readiness::Ready;
}

void EstimationSequence::start(Workspace &workspace, EstimationResults &results)
{
    cancelProfileCurves();
    ModelDefinition &model = workspace.model;
    const int n = model.parameterCount();
    m_results = &results;
    m_workspace = &workspace;
    results.estimates = workspace.seeds;
    results.estimates.resize(std::size_t(n), 0.0);
    results.covariance = zav::Matrix(n, n);
    results.covarianceAvailable = false;
    results.hessianRank.reset();
    results.parametersEstimated = false;

    m_likelihoodFunction = std::make_unique<PelkLikelihoodFunc>(model, workspace.categoryCounts);
    m_optimizer = workspace.optimizer.createOptimizer();

    m_parametersEstimator->setFunction(m_likelihoodFunction.get());
    m_parametersEstimator->setOptimizer(m_optimizer.get(), workspace.optimizer.type);
    m_parametersEstimator->setPoint(&results.estimates);
    m_runner->setRunnable(m_parametersEstimator);
    if (workspace.calculateCovariance) {
        m_covarianceEstimator->setFunction(m_likelihoodFunction.get());
        m_covarianceEstimator->setEstimates(&results.estimates);
        m_covarianceEstimator->setCovariance(&results.covariance);
        m_covarianceEstimator->setHessianRank(&results.hessianRank);
        m_runner->addRunnable(m_covarianceEstimator);
    }
    if (!workspace.parameterRequests.isEmpty() || !workspace.variableRequests.isEmpty()) {
        m_profileLikelihoodsEstimator->setModel(&model);
        m_profileLikelihoodsEstimator->setRequests(&workspace.parameterRequests, &workspace.variableRequests);
        m_profileLikelihoodsEstimator->setEstimates(&results.estimates);
        m_profileLikelihoodsEstimator->setFunction(m_likelihoodFunction.get());
        m_profileLikelihoodsEstimator->setOptimizerSettings(&workspace.optimizer);
        m_profileLikelihoodsEstimator->setCovarianceSource(workspace.calculateCovariance ? m_covarianceEstimator
                                                                                        : nullptr);
        m_runner->addRunnable(m_profileLikelihoodsEstimator);
    }
    for (zav::ThreadRunnable *runnable : m_runner->runnables())
        runnable->setCanceled(false);
    m_runner->start(QThread::InheritPriority);
}

void EstimationSequence::setProfilePrecision(const double *precision)
{
    m_profileLikelihoodsEstimator->setPrecision(precision);
}

void EstimationSequence::setProfileThreadCount(int count)
{
    m_profileLikelihoodsEstimator->setThreadCount(count);
}

void EstimationSequence::cancel()
{
    m_runner->setCanceled(true);
    for (zav::ThreadRunnable *runnable : m_runner->runnables())
        runnable->setCanceled(true);
}

bool EstimationSequence::isRunning() const
{
    return m_runner->isRunning();
}

void EstimationSequence::onRunComplete()
{
    // The worker may still be returning from run(); wait so that a caller
    // reacting to finished() can start the next run at once.
    m_runner->wait();
    // The runner clears its own flag when its thread starts, so a cancel
    // made before that reaches only the units, which return at once: the
    // run still ends as cancelled.
    for (const zav::ThreadRunnable *runnable : m_runner->runnables())
        if (runnable->isCanceled())
            return onRunCanceled();
    if (m_results && m_results->parametersEstimated) {
        emit estimationComplete();
        startProfileCurves();
    }
    emit finished();
}

void EstimationSequence::startProfileCurves()
{
    if (!m_profileCurves || !m_workspace || !m_likelihoodFunction)
        return;
    m_curveRunner->wait();
    m_profileCurvesEstimator->prepare(m_workspace->model, m_workspace->parameterRequests,
                                      m_workspace->variableRequests, m_results->estimates,
                                      m_results->covarianceAvailable ? &m_results->covariance : nullptr,
                                      *m_likelihoodFunction, m_workspace->optimizer);
    if (m_profileCurvesEstimator->isEmpty())
        return;
    m_profileCurvesEstimator->setCanceled(false);
    m_curvesPending = true;
    m_curveRunner->start(QThread::LowPriority);
}

bool EstimationSequence::isComputingProfileCurves() const
{
    return m_curvesPending;
}

void EstimationSequence::cancelProfileCurves()
{
    m_curveRunner->setCanceled(true);
    m_profileCurvesEstimator->setCanceled(true);
    m_curveRunner->wait();
    if (!m_curvesPending)
        return;
    m_curvesPending = false;
    emit profileCurvesFinished();
}

void EstimationSequence::onProfileCurvesEnded()
{
    m_curveRunner->wait();
    // A cancelled run's report may arrive after the next run has started
    // and ended: the points are stored once, by whichever report comes first.
    if (!m_curvesPending)
        return;
    m_curvesPending = false;
    if (!m_profileCurvesEstimator->isCanceled() && m_workspace) {
        m_profileCurvesEstimator->store(m_workspace->parameterRequests, m_workspace->variableRequests);
        emit profileCurvesComplete();
    }
    emit profileCurvesFinished();
}

void EstimationSequence::onRunCanceled()
{
    m_runner->wait();
    emit canceled();
    emit finished();
}

} // namespace pelk
