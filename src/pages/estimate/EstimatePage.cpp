#include "EstimatePage.h"

#include "EstimationForm.h"
#include "app/PelkWindow.h"
#include "estimation/EstimationSequence.h"
#include "estimation/ThreadRunner.h"
#include "model/ProfileLikelihoods.h"
#include "optim/NRError.h"

#include <QMessageBox>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace pelk {

EstimatePage::EstimatePage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Estimate the Model Parameters"),
      m_form(new EstimationForm(this)),
      m_sequence(new EstimationSequence(this)),
      m_sink(m_form->textEdit()->document())
{
    contentLayout()->addWidget(m_form);

    connect(m_form, &EstimationForm::estimate, this, &EstimatePage::onEstimate);
    connect(m_form, &EstimationForm::cancelEstimation, this, &EstimatePage::onCancelEstimation);
    connect(mainWindow, &PelkWindow::lockWorkspace, this, &EstimatePage::onLockWorkspace);
    connect(mainWindow, &PelkWindow::clearEstimates, this, &EstimatePage::onClearEstimates);

    // Every signal of the sequence arrives on the GUI thread, in the order
    // the worker produced it.
    connect(m_sequence, &EstimationSequence::status, this, &EstimatePage::onStatus);
    connect(m_sequence, &EstimationSequence::error, this, &EstimatePage::onError);
    connect(m_sequence, &EstimationSequence::profileStatus, this, &EstimatePage::onProfileStatus);
    connect(m_sequence, &EstimationSequence::percentComplete, this, &EstimatePage::onPercentComplete);
    connect(m_sequence, &EstimationSequence::busy, this, &EstimatePage::onBusy);
    connect(m_sequence, &EstimationSequence::canceled, this, &EstimatePage::onCanceled);
    // The window's handler runs inside this emission and locks the
    // workspace; finished() follows and returns the page to Idle.
    connect(m_sequence, &EstimationSequence::estimationComplete, this, &EstimatePage::estimationComplete);
    // After the limits, the points a profile plot draws come in the
    // background; the window adds them to its summary.
    m_sequence->setProfileCurves(true);
    connect(m_sequence, &EstimationSequence::profileCurvesComplete, this, &EstimatePage::profileCurvesComplete);
    connect(m_sequence, &EstimationSequence::finished, this, &EstimatePage::onRunComplete);
}

// The worker must never outlive the workspace it reads. The window stops
// it before it lets the workspace go; this is the last guard.
EstimatePage::~EstimatePage()
{
    stopRunAndWait();
}

bool EstimatePage::isRunning() const
{
    return m_runActive || m_sequence->isRunning();
}

void EstimatePage::stopRunAndWait()
{
    m_sequence->cancelProfileCurves();
    if (!m_sequence->isRunning())
        return;
    m_sequence->cancel();
    m_sequence->runner()->wait();
}

void EstimatePage::onEstimate()
{
    // Estimate is disabled while a run is active, but a second start would
    // hand the worker's storage to a new run under its feet.
    if (isRunning())
        return;
    setRunning(true);
    m_form->textEdit()->clear();
    m_sink.restart();
    m_sink.setColor(Qt::black);

    PelkWindow *window = mainWindow();
    EstimationSequence::Readiness readiness;
    try {
        readiness = m_sequence->check(window->workspace(), m_sink);
    } catch (const NR3::NRError &error) {
        // The dimension of the minimum sufficient statistic comes from a
        // singular value decomposition, which can fail to converge.
        onError(QString::fromLatin1(error.message));
        setRunning(false);
        return;
    }
    scrollToCursor();
    switch (readiness) {
    case EstimationSequence::Readiness::ModelInvalid:
    case EstimationSequence::Readiness::CountsInvalid:
        // check() has written the findings and the closing sentence.
        setRunning(false);
        return;
    case EstimationSequence::Readiness::TooManyParameters:
        if (!confirmOverParameterisedRun()) {
            setRunning(false);
            return;
        }
        break;
    case EstimationSequence::Readiness::Ready:
        break;
    }

    m_profilePrecision = window->profilePrecision();
    m_sequence->setProfilePrecision(m_profilePrecision ? &*m_profilePrecision : nullptr);
    // The parameter run cannot tell how far it is; the covariance and
    // profile runs switch the bar to percentages.
    m_form->showBusy();
    m_runActive = true;
    emit runningChanged(true);
    window->storeEditedOptimizer();
    m_sequence->start(window->workspace(), window->results());
}

bool EstimatePage::confirmOverParameterisedRun()
{
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, "Estimate Parameters",
        QString("There are more parameters than can be estimated.\n")
            + "Any estimates obtained by continuing can not be considered valid.\n" + "Continue anyway?",
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void EstimatePage::onRunComplete()
{
    setRunning(false);
}

void EstimatePage::onCancelEstimation()
{
    m_sequence->cancel();
    emit cancelEstimation();
}

void EstimatePage::onLockWorkspace()
{
    m_form->setEstimateEnabled(false);
}

void EstimatePage::onClearEstimates()
{
    m_sequence->cancelProfileCurves();
    // Clearing during a run must not offer a second start of the worker.
    if (!isRunning())
        m_form->setEstimateEnabled(true);
}

void EstimatePage::onStatus(const QString &text)
{
    writeLine(text + '\n', MessageSink::Normal, Qt::black);
    QTextEdit *textEdit = m_form->textEdit();
    QTimer::singleShot(0, textEdit, [textEdit] { textEdit->viewport()->update(); });
}

void EstimatePage::onError(const QString &text)
{
    writeLine(text + '\n', MessageSink::Bold, Qt::red);
}

void EstimatePage::onCanceled()
{
    writeLine("Canceled.\n", MessageSink::Bold, Qt::black);
    setRunning(false);
}

void EstimatePage::onEstimationStatus(double beginValue, double endValue, int numIterations)
{
    writeLine("Starting function value: " + QString::number(beginValue, 'g', 6)
                  + "\nEnding function value: " + QString::number(endValue, 'g', 6)
                  + "\nNumber of iterations: " + QString::number(numIterations) + '\n',
              MessageSink::Normal, Qt::black);
}

// One row of the table under the header that the profile run writes.
void EstimatePage::onProfileStatus(double mle, double value, double chiSquared, double targetChiSquared)
{
    writeLine(QString::number(mle, 'g', 6) + '\t' + QString::number(value, 'g', 6) + '\t'
                  + QString::number(chiSquared, 'g', 6) + '\t' + QString::number(targetChiSquared, 'g', 6)
                  + '\n',
              MessageSink::Normal, Qt::black);
}

void EstimatePage::onPercentComplete(int percent)
{
    if (m_runActive)
        m_form->showProgress(percent);
}

void EstimatePage::onBusy()
{
    if (m_runActive)
        m_form->showBusy();
}

void EstimatePage::writeLine(const QString &text, MessageSink::Style style, const QColor &color)
{
    m_sink.setColor(color);
    m_sink.write(text, style);
    scrollToCursor();
}

void EstimatePage::scrollToCursor()
{
    QTextEdit *textEdit = m_form->textEdit();
    textEdit->setTextCursor(m_sink.cursor());
    textEdit->ensureCursorVisible();
}

// Running: Estimate disabled, Cancel enabled. Idle: the reverse, and the
// progress bar put away. Every completed run ends with Estimate enabled,
// also when the completion has just locked the workspace.
void EstimatePage::setRunning(bool running)
{
    const bool ended = m_runActive && !running;
    if (!running)
        m_runActive = false;
    m_form->setEstimateEnabled(!running);
    m_form->setCancelEnabled(running);
    if (!running)
        m_form->resetProgress();
    if (ended)
        emit runningChanged(false);
}

} // namespace pelk
