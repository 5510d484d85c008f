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
class ThreadRunner;
}

namespace pelk {

class CovarianceEstimator;
class MessageSink;
class ModelDefinition;
class ParametersEstimator;
class PelkLikelihoodFunc;
class ProfileLikelihoods;
class ProfileLikelihoodsEstimator;

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
    Readiness check(ModelDefinition &model, const QMap<QString, int> &categoryCounts, MessageSink &sink);

    // Starts a run on a model that passed check(). The estimates become a
    // copy of the seeds and the covariance a fresh matrix; the worker then
    // writes them. Nothing passed here may change or die before finished().
    void start(ModelDefinition &model, const QMap<QString, int> &categoryCounts,
               const std::vector<double> &seeds, ProfileLikelihoods &parameterRequests,
               ProfileLikelihoods &variableRequests, bool calculateCovariance, EstimationResults &results);

    // Asks the running units to stop at their next check.
    void cancel();
    bool isRunning() const;

    // The objective of the last run (kept after it, for the report); null
    // before the first run.
    PelkLikelihoodFunc *likelihoodFunction() const { return m_likelihoodFunction.get(); }
    zav::ThreadRunner *runner() const { return m_runner; }

    // The precision of every profile limit, or null for the automatic one.
    void setProfilePrecision(const double *precision);

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

private:
    void onRunComplete();
    void onRunCanceled();

    zav::ThreadRunner *m_runner;
    ParametersEstimator *m_parametersEstimator;
    CovarianceEstimator *m_covarianceEstimator;
    ProfileLikelihoodsEstimator *m_profileLikelihoodsEstimator;
    std::unique_ptr<PelkLikelihoodFunc> m_likelihoodFunction;
    EstimationResults *m_results = nullptr;
};

} // namespace pelk
