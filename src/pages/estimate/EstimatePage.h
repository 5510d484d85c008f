// The page "Estimate the Model Parameters": where an estimation starts and
// ends. It checks the model, asks before estimating an over-parameterised
// one, hands the window's workspace to the estimation sequence, shows the
// sequence's status lines and progress, lets the analyst cancel, and
// announces a successful run with estimationComplete().
//
// States: Idle (Estimate enabled, Cancel disabled) -> Estimate pressed ->
// Running (Estimate disabled, Cancel enabled) -> back to Idle when the
// checks refuse the model, when the run ends or when it is cancelled. The
// workspace lock disables Estimate; clearing the estimates enables it again.
#pragma once

#include "TextCursorSink.h"
#include "model/MessageSink.h"
#include "pages/frame/PelkContentPage.h"

#include <optional>

class EstimationForm;

namespace pelk {

class EstimationSequence;

class EstimatePage : public PelkContentPage
{
    Q_OBJECT

public:
    explicit EstimatePage(PelkWindow *mainWindow);
    ~EstimatePage() override;

    QString helpPageName() const override { return "estimate.html"; }

    EstimationForm *form() const { return m_form; }
    EstimationSequence *sequence() const { return m_sequence; }
    // True from the start of a run until its end has been shown; the worker
    // may read or write the workspace during that time.
    bool isRunning() const;
    // Cancels a running estimation and waits until the worker has stopped.
    // The window calls it before it replaces or destroys the model, the
    // counts, the requests or the results that a run reads and writes.
    void stopRunAndWait();

signals:
    // The analyst asked to stop the run.
    void cancelEstimation();
    // A run ended with estimated parameters; the results are complete.
    void estimationComplete();
    // The background points of the profile curves were added to the
    // workspace's requests.
    void profileCurvesComplete();
    // The worker started (true) or the end of its run has been shown
    // (false); in between it reads the model, the counts and the requests.
    void runningChanged(bool running);

public slots:
    void onRunComplete();
    void onCancelEstimation();
    // Hides PelkContentPage's slots of the same name, which the window
    // still reaches through the base class's own connections.
    void onLockWorkspace();
    void onClearEstimates();
    void onEstimate();
    void onStatus(const QString &text);
    void onError(const QString &text);
    void onCanceled();
    void onEstimationStatus(double beginValue, double endValue, int numIterations);
    void onProfileStatus(double mle, double value, double chiSquared, double targetChiSquared);
    void onPercentComplete(int percent);
    void onBusy();

private:
    bool confirmOverParameterisedRun();
    void writeLine(const QString &text, MessageSink::Style style, const QColor &color);
    void scrollToCursor();
    void setRunning(bool running);

    EstimationForm *m_form;
    EstimationSequence *m_sequence;
    TextCursorSink m_sink;
    // From the start of a run until the sequence reports its end; the
    // worker thread itself may stop a little before that report arrives.
    bool m_runActive = false;
    // The profile precision of the active run; the profile searches read
    // it through a pointer until the run ends.
    std::optional<double> m_profilePrecision;
};

} // namespace pelk
