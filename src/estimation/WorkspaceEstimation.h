// One workspace estimated from the model check to the summary, the way
// `pelk-cli estimate` does it and the model comparison does it for each
// workspace of a set: the check (a model with more parameters than the data
// can estimate is refused unless forced), the sequence's run with the
// workspace's optimizer (Powell's when it names none), the curve points
// when asked for, then the summary. Every line goes to the log. It runs on
// a worker thread of its own and reports through the event loop of the
// thread that owns it, so several can run at once, each on its own
// workspace.
#pragma once

#include "estimation/EstimationResults.h"
#include "estimation/EstimationSummary.h"
#include "io/SummaryJsonWriter.h"

#include <QObject>

#include <memory>
#include <optional>

namespace pelk {

class EstimationLog;
class EstimationSequence;
struct Workspace;

class WorkspaceEstimation : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Running, // not started, or not yet finished
        Estimated,
        ModelRefused, // not valid, bad counts, or too many parameters without force
        RunFailed, // the parameters were not estimated, or the summary failed
        Canceled
    };

    // The workspace and the log must outlive this object.
    WorkspaceEstimation(Workspace &workspace, EstimationLog &log, QObject *parent = nullptr);
    ~WorkspaceEstimation() override;

    // Goes on when there are more parameters than can be estimated.
    void setForce(bool force) { m_force = force; }
    void setProfileCurves(bool on) { m_profileCurves = on; }

    // Checks the model and starts the run; false when the model is refused
    // (the outcome is then ModelRefused and finished() does not come).
    bool start();
    // Stops the run, or the curve points, at their next check; finished()
    // follows with the outcome Canceled.
    void cancel();

    Outcome outcome() const { return m_outcome; }
    // Null unless the outcome is Estimated. The summary's trees point at
    // this object's estimates.
    const EstimationSummary *summary() const { return m_summary ? &*m_summary : nullptr; }
    // The estimates of an Estimated outcome, in parameter order.
    const std::vector<double> &estimates() const { return m_results.estimates; }
    // What the JSON document says about the run beside the summary.
    SummaryJsonWriter::Run run() const;

signals:
    void finished();

private:
    void onSequenceFinished();
    void complete();

    Workspace &m_workspace;
    EstimationLog &m_log;
    bool m_force = false;
    bool m_profileCurves = false;
    bool m_valid = false;
    bool m_canceled = false;
    Outcome m_outcome = Outcome::Running;
    std::unique_ptr<EstimationSequence> m_sequence;
    EstimationResults m_results;
    std::optional<EstimationSummary> m_summary;
};

} // namespace pelk
