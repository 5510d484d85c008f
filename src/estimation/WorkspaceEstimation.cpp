#include "estimation/WorkspaceEstimation.h"

#include "estimation/EstimationLog.h"
#include "estimation/EstimationSequence.h"
#include "expr/Literal.h"
#include "io/OptimizerKeyword.h"
#include "model/Workspace.h"
#include "optim/NRError.h"
#include "optim/OptimizerFactory.h"

namespace pelk {

WorkspaceEstimation::WorkspaceEstimation(Workspace &workspace, EstimationLog &log, QObject *parent)
    : QObject(parent), m_workspace(workspace), m_log(log)
{
}

WorkspaceEstimation::~WorkspaceEstimation()
{
    // The sequence's destructor stops and waits for the worker, which
    // writes the results: it goes first.
    m_sequence.reset();
}

SummaryJsonWriter::Run WorkspaceEstimation::run() const
{
    SummaryJsonWriter::Run run;
    run.valid = m_valid;
    run.optimizer = optimizerKeyword(m_workspace.optimizer.type);
    run.profileCurves = m_profileCurves;
    run.log = m_log.lines();
    run.errors = m_log.errors();
    return run;
}

bool WorkspaceEstimation::start()
{
    using Readiness = EstimationSequence::Readiness;
    if (m_workspace.optimizer.type == zav::OptimizerFactory::NoOptimizer)
        m_workspace.optimizer.type = zav::OptimizerFactory::Powell;
    m_sequence = std::make_unique<EstimationSequence>();
    m_sequence->setProfileCurves(m_profileCurves);
    const Readiness readiness = m_sequence->check(m_workspace, m_log);
    m_log.flush();
    m_valid = readiness != Readiness::ModelInvalid;
    bool refused = readiness == Readiness::ModelInvalid || readiness == Readiness::CountsInvalid;
    if (readiness == Readiness::TooManyParameters) {
        m_log.write(QStringLiteral("There are more parameters than can be estimated.\n"
                                   "Any estimates obtained by continuing can not be considered valid.\n"),
                    m_force ? MessageSink::Normal : MessageSink::Bold);
        refused = !m_force;
    }
    if (refused) {
        m_sequence.reset();
        m_outcome = Outcome::ModelRefused;
        return false;
    }

    EstimationSequence *sequence = m_sequence.get();
    connect(sequence, &EstimationSequence::status, this, [this](const QString &text) { m_log.line(text, false); });
    connect(sequence, &EstimationSequence::error, this, [this](const QString &text) { m_log.line(text, true); });
    connect(sequence, &EstimationSequence::profileStatus, this,
            [this](double mle, double value, double chi, double target) {
                m_log.line(QStringList {zav::Literal::format(mle), zav::Literal::format(value),
                                        zav::Literal::format(chi), zav::Literal::format(target)}
                               .join(u'\t'),
                           false);
            });
    connect(sequence, &EstimationSequence::percentComplete, this, [this](int percent) { m_log.progress(percent); });
    connect(sequence, &EstimationSequence::canceled, this, [this] {
        m_canceled = true;
        m_log.line(QStringLiteral("Canceled."), true);
    });
    // Queued: the sequence is deleted on completion, which must not happen
    // inside its own signal.
    connect(sequence, &EstimationSequence::finished, this, &WorkspaceEstimation::onSequenceFinished,
            Qt::QueuedConnection);
    connect(sequence, &EstimationSequence::profileCurvesFinished, this, &WorkspaceEstimation::complete,
            Qt::QueuedConnection);
    sequence->start(m_workspace, m_results);
    return true;
}

void WorkspaceEstimation::cancel()
{
    if (!m_sequence || m_outcome != Outcome::Running)
        return;
    // The run itself reports its cancellation; the curve points do not.
    if (m_sequence->isComputingProfileCurves() && !m_canceled) {
        m_canceled = true;
        m_log.line(QStringLiteral("Canceled."), true);
    }
    m_sequence->cancel();
    m_sequence->cancelProfileCurves();
}

void WorkspaceEstimation::onSequenceFinished()
{
    // The limits are in; the curve points, when asked for, come after them.
    if (m_sequence && !m_sequence->isComputingProfileCurves())
        complete();
}

void WorkspaceEstimation::complete()
{
    if (m_outcome != Outcome::Running)
        return;
    // The run is over: its objective and optimizer go before the summary
    // is built, which then reuses their memory.
    m_sequence.reset();
    if (m_canceled) {
        m_outcome = Outcome::Canceled;
    } else if (!m_results.parametersEstimated) {
        m_outcome = Outcome::RunFailed;
    } else {
        try {
            m_summary = EstimationSummary::compute(m_workspace, m_results);
            m_outcome = Outcome::Estimated;
        } catch (const NR3::NRError &error) {
            m_log.line(QString::fromLatin1(error.message), true);
            m_outcome = Outcome::RunFailed;
        }
    }
    emit finished();
}

} // namespace pelk
