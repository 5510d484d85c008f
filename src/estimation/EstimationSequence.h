// The estimation sequence behind the Estimate page and `pelk-cli estimate`:
// check the model and the counts, prepare the results, build the objective,
// queue the parameter run, the covariance run and the profile run on the
// worker thread, and announce the outcome. It never talks to widgets: the
// page (or the command line) shows its messages and asks the question about
// an over-parameterised model itself.
#pragma once

#include "estimation/EstimationResults.h"

#include <QMap>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace zav {
class AbstractOptimizer;
class ThreadRunner;
} // namespace zav

namespace pelk {

class CovarianceEstimator;
class MessageSink;
class ModelDefinition;
class ParametersEstimator;
class PelkLikelihoodFunc;
class ProfileLikelihoods;
class ProfileCurvesEstimator;
class ProfileLikelihoodsEstimator;
struct Workspace;

class EstimationSequence : public QObject
{
    Q_OBJECT

public:
    enum class Readiness {
        Ready,
        ModelInvalid, // validation found errors
        CountsInvalid, // a category has a negative count
        TooManyParameters // more parameters than the data can estimate
    };

    explicit EstimationSequence(QObject *parent = nullptr);
    ~EstimationSequence() override;

    // Validates the model (binding every symbol), checks the counts and,
    // for models where it is decidable, compares the number of parameters
    // with the dimension of the minimum sufficient statistic. Writes the
    // findings and the closing sentence of a refusal to the sink.
    Readiness check(Workspace &workspace, MessageSink &sink);

    // Starts a run on a workspace that passed check(), with an optimizer
    // of its own built from the workspace's. The estimates become a copy of
    // the seeds and the covariance a fresh matrix; the worker then writes
    // them. Nothing passed here may change or die before finished().
    void start(Workspace &workspace, EstimationResults &results);

    // Asks the running units to stop at their next check.
    void cancel();
    bool isRunning() const;

    zav::ThreadRunner *runner() const { return m_runner; }

    // The precision of every profile limit, or null for the automatic one.
    void setProfilePrecision(const double *precision);
    // Profile searches run at once: 0 (the default) for one per core.
    void setProfileThreadCount(int count);

    // With curves on (off by default), a run that estimated the parameters
    // and had profile requests goes on, after estimationComplete, to
    // evaluate more points of each profile (ProfileCurvesEstimator) on a
    // thread of its own; they are added to the workspace's requests, on
    // this thread, before profileCurvesComplete.
    void setProfileCurves(bool on) { m_profileCurves = on; }
    // From the start of the curve points until profileCurvesFinished.
    bool isComputingProfileCurves() const;
    // Asks the curve points to stop and waits for them; none are added
    // (profileCurvesFinished follows at once when they were running).
    void cancelProfileCurves();

signals:
    void status(const QString &text);
    void error(const QString &text);
    void profileStatus(double mle, double value, double chiSquared, double targetChiSquared);
    void percentComplete(int percent);
    void busy();
    // The run ended and the parameters were estimated.
    void estimationComplete();
    // The run ended, estimated or not (after estimationComplete when it was).
    void finished();
    // The run ended by cancellation.
    void canceled();
    // The curve points were added to the workspace's requests.
    void profileCurvesComplete();
    // The curve points ended, added or cancelled.
    void profileCurvesFinished();

private:
    void onRunComplete();
    void onRunCanceled();
    void startProfileCurves();
    void onProfileCurvesEnded();

    zav::ThreadRunner *m_runner;
    ParametersEstimator *m_parametersEstimator;
    CovarianceEstimator *m_covarianceEstimator;
    ProfileLikelihoodsEstimator *m_profileLikelihoodsEstimator;
    std::unique_ptr<PelkLikelihoodFunc> m_likelihoodFunction;
    std::unique_ptr<zav::AbstractOptimizer> m_optimizer;
    EstimationResults *m_results = nullptr;
    Workspace *m_workspace = nullptr;
    bool m_profileCurves = false;
    bool m_curvesPending = false; // started, not yet stored or cancelled
    zav::ThreadRunner *m_curveRunner;
    ProfileCurvesEstimator *m_profileCurvesEstimator;
};

} // namespace pelk
