// The Estimate page driven as the analyst drives it: press Estimate on a
// loaded workspace, watch the log, the buttons and the progress bar, answer
// the question about an over-parameterised model, cancel a slow run. The
// expected estimates come from closed forms, not from earlier runs.
#include "EstimateTestSupport.h"
#include "support/CaptureRecaptureWorkspace.h"
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"
#include "support/TempFiles.h"
#include "support/TwoSampleCapture.h"

#include "app/PelkWindow.h"
#include "estimation/EstimationSequence.h"
#include "estimation/ParametersEstimator.h"
#include "estimation/ThreadRunner.h"
#include "model/ProfileLikelihoods.h"
#include "pages/estimate/EstimatePage.h"
#include "pages/estimate/EstimationForm.h"

#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

using estimatetest::Binomial;
using estimatetest::binomialWorkspace;
using pelk::EstimationSequence;

namespace {

const QString modelErrorsSentence = "Model Definition errors must be fixed before estimating the parameters.";

// Negative log-likelihood of 30 successes in 100 trials at p, with the
// multinomial constant log(100!) - log(30!) - log(70!).
double binomialObjective(double p)
{
    return -(std::lgamma(101.0) - std::lgamma(31.0) - std::lgamma(71.0) + 30 * std::log(p)
             + 70 * std::log(1 - p));
}


bool isNear(double value, double expected, double relative)
{
    return std::abs(value - expected) <= relative * std::abs(expected);
}

} // namespace

class tst_EstimatePage : public QObject
{
    Q_OBJECT

    std::unique_ptr<IsolatedSettings> m_settings;
    support::TempFiles m_files;
    int m_fileCount = 0;

    struct Fixture
    {
        PelkWindow window;
        ModalAnswerer answerer;
        pelk::EstimatePage *page = window.estimatePage();
        EstimationForm *form = page->form();
        QPushButton *estimate = form->findChild<QPushButton *>("estimateButton");
        QPushButton *cancel = form->findChild<QPushButton *>("cancelEstimationButton");
        QSignalSpy completed {page, &pelk::EstimatePage::estimationComplete};
        QSignalSpy finished {page->sequence(), &EstimationSequence::finished};

        QStringList log() const { return estimatetest::lines(form->textEdit()->document()); }
        bool isIdle() const { return estimate->isEnabled() && !cancel->isEnabled() && !page->isRunning(); }
        // Presses Estimate and waits for the run to end; false when it did
        // not end in time.
        bool estimateAndWait(int timeout = 120000)
        {
            const int before = int(finished.count());
            estimate->click();
            return finished.count() > before || finished.wait(timeout);
        }
    };

    QString workspace(const QString &text)
    {
        return m_files.write(QString("workspace%1.txt").arg(++m_fileCount), text);
    }

    static void checkParameterRunLines(const QStringList &log, int &i);

private slots:
    void initTestCase() { m_settings = std::make_unique<IsolatedSettings>(); }

    void pageShowsTheFormInIdleState();
    void binomialRunWritesTheTypicalLogAndTheClosedFormAnswer();
    void buttonsAndProgressBarFollowTheRun();
    void invalidModelIsReportedAndNotEstimated_data();
    void invalidModelIsReportedAndNotEstimated();
    void emptyNewWorkspaceIsRefused();
    void overParameterisedModelAsksFirst();
    void withoutCovarianceAndRequestsOnlyParametersAreEstimated();
    void profileRunMovesTheProgressBarAndWritesItsTable();
    void cancelStopsTheRunWithoutAnnouncingIt_data();
    void cancelStopsTheRunWithoutAnnouncingIt();
    void lockDisablesEstimateAndClearingEnablesIt();
    void loadingAWorkspaceDuringARunStopsIt();
    void destroyingTheWindowDuringARunIsSafe();
    void linesHaveTheirColourWeightAndNumberFormat();
    void failedParameterRunIsShownAndNeitherLockedNorReported();
};

void tst_EstimatePage::pageShowsTheFormInIdleState()
{
    Fixture f;
    QCOMPARE(f.page->title(), QString("Estimate the Model Parameters"));
    QCOMPARE(f.page->helpPageName(), QString("estimate.html"));
    QCOMPARE(f.estimate->text(), QString("Estimate"));
    QCOMPARE(f.cancel->text(), QString("Cancel Estimation"));
    QVERIFY(!f.estimate->icon().isNull());
    QVERIFY(f.isIdle());
    QVERIFY(f.form->textEdit()->isReadOnly());
    QVERIFY(f.form->progressBar()->isHidden());
}

// The Part's typical log: one or more Powell blocks, re-estimating while
// the previous block took more than two iterations.
void tst_EstimatePage::checkParameterRunLines(const QStringList &log, int &i)
{
    QCOMPARE(log.value(i++), QString("Estimating model parameters..."));
    for (;;) {
        QVERIFY(log.value(i++).startsWith("Powell: Starting function value: "));
        QVERIFY(log.value(i++).startsWith("Powell: Ending function value: "));
        const QString count = log.value(i++);
        QVERIFY2(count.startsWith("Powell: Number of iterations: "), qPrintable(count));
        const int iterations = count.section(": ", 2).toInt();
        if (log.value(i) != "Re-estimating parameters using estimates as new seeds...") {
            QVERIFY2(iterations <= 2, qPrintable(count));
            break;
        }
        QVERIFY2(iterations > 2, qPrintable(count));
        ++i;
    }
    QCOMPARE(log.value(i++), QString("Parameter estimation complete."));
}

void tst_EstimatePage::binomialRunWritesTheTypicalLogAndTheClosedFormAnswer()
{
    Fixture f;
    QVERIFY(f.window.loadWorkspace(workspace(binomialWorkspace())));
    QSignalSpy windowCompleted(&f.window, &PelkWindow::estimationComplete);
    QVERIFY(f.estimateAndWait());

    const QStringList log = f.log();
    int i = 0;
    checkParameterRunLines(log, i);
    QCOMPARE(log.mid(i), QStringList({"Estimating covariance matrix...", "Covariance matrix estimation complete."}));
    // The last ending value is the objective at the estimate (15 digits).
    const QString lastEnding = log.filter("Powell: Ending function value: ").last();
    QVERIFY(isNear(lastEnding.section(": ", 2).toDouble(), binomialObjective(0.3), 1e-10));

    QCOMPARE(f.completed.count(), 1);
    QCOMPARE(windowCompleted.count(), 1);
    QVERIFY(f.window.summary());
    QVERIFY(f.window.isLocked());
    // p = 30/100; its variance p(1-p)/n is the inverse of the Hessian.
    const pelk::EstimationResults &results = f.window.results();
    QCOMPARE(results.estimates.size(), std::size_t(1));
    QVERIFY(isNear(results.estimates[0], 0.3, 1e-6));
    QVERIFY(results.covarianceAvailable);
    QVERIFY(isNear(results.covariance(0, 0), 0.3 * 0.7 / 100, 1e-4));
    // Every completed run ends with Estimate enabled, locked or not.
    QVERIFY(f.isIdle());
    QVERIFY(f.form->progressBar()->isHidden());
    QCOMPARE(f.answerer.boxes().size(), 0);
}

void tst_EstimatePage::buttonsAndProgressBarFollowTheRun()
{
    Fixture f;
    QVERIFY(f.window.loadWorkspace(workspace(binomialWorkspace())));
    f.estimate->click();
    // Running: the parameter run cannot tell how far it is.
    QVERIFY(!f.estimate->isEnabled());
    QVERIFY(f.cancel->isEnabled());
    QVERIFY(f.page->isRunning());
    QVERIFY(!f.form->progressBar()->isHidden());
    QCOMPARE(f.form->progressBar()->maximum(), 0);
    // Clearing estimates during a run must not offer a second start.
    emit f.window.clearEstimates();
    QVERIFY(!f.estimate->isEnabled());
    QVERIFY(f.finished.wait(120000));
    QVERIFY(f.isIdle());
    QVERIFY(f.form->progressBar()->isHidden());
    QCOMPARE(f.form->progressBar()->maximum(), 100);
}

void tst_EstimatePage::invalidModelIsReportedAndNotEstimated_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("findings");

    Binomial undefined;
    undefined.success = "p*z";
    QTest::newRow("undefined symbol") << binomialWorkspace(undefined)
                                      << QStringList{"Category \"success\" uses undefined symbol \"z\"."};
    Binomial sum;
    sum.failure = "p";
    QTest::newRow("probabilities do not sum to 1")
        << binomialWorkspace(sum) << QStringList{"Probabilities for likelihood \"Trials\" do not sum to 1."};
    Binomial circular;
    circular.variables = "f = g + 1,\ng = f*2";
    QTest::newRow("circular functions") << binomialWorkspace(circular)
                                        << QStringList{"\"f\" contains a circular reference.",
                                                       "\"g\" contains a circular reference."};
}

void tst_EstimatePage::invalidModelIsReportedAndNotEstimated()
{
    QFETCH(QString, text);
    QFETCH(QStringList, findings);
    Fixture f;
    QVERIFY(f.window.loadWorkspace(workspace(text)));
    f.estimate->click();

    QCOMPARE(f.log(), findings + QStringList{modelErrorsSentence});
    const QTextDocument *document = f.form->textEdit()->document();
    QCOMPARE(estimatetest::textOfWeight(document, false), QString());
    QVERIFY(f.isIdle());
    QVERIFY(f.form->progressBar()->isHidden());
    QVERIFY(f.page->sequence()->runner()->runnables().isEmpty());
    QTest::qWait(50);
    QCOMPARE(f.finished.count(), 0);
    QCOMPARE(f.completed.count(), 0);
    QVERIFY(f.window.results().estimates.empty());
    QVERIFY(!f.window.isLocked());

    // A second press writes the same log afresh, not after the first.
    f.estimate->click();
    QCOMPARE(f.log(), findings + QStringList{modelErrorsSentence});
}

// Pressing Estimate at start-up (one empty likelihood, no parameters) must
// end in the refusal, not in a run over nothing.
void tst_EstimatePage::emptyNewWorkspaceIsRefused()
{
    Fixture f;
    f.estimate->click();
    QVERIFY(!f.log().isEmpty());
    QCOMPARE(f.log().last(), modelErrorsSentence);
    QVERIFY(f.isIdle());
    QTest::qWait(50);
    QCOMPARE(f.finished.count(), 0);
}

// p and q appear only as p*q: one estimable quantity for two parameters.
void tst_EstimatePage::overParameterisedModelAsksFirst()
{
    Binomial b;
    b.parameters = "p, q";
    b.variables = "pq = p*q";
    b.success = "p*q";
    b.failure = "1-p*q";
    b.seeds = "p = 0.5,\nq = 0.5";
    b.covariance = "no";
    Fixture f;
    QVERIFY(f.window.loadWorkspace(workspace(binomialWorkspace(b))));
    const QString question = "There are more parameters than can be estimated.\n"
                             "Any estimates obtained by continuing can not be considered valid.\n"
                             "Continue anyway?";

    // No: nothing happens.
    f.answerer.answer(QMessageBox::No);
    f.estimate->click();
    QCOMPARE(f.answerer.boxes().size(), 1);
    QCOMPARE(f.answerer.boxes().at(0).title, QString("Estimate Parameters"));
    QCOMPARE(f.answerer.boxes().at(0).text, question);
    QVERIFY(f.isIdle());
    QVERIFY(f.log().isEmpty());
    QVERIFY(f.window.results().estimates.empty());
    QTest::qWait(50);
    QCOMPARE(f.finished.count(), 0);

    // Yes: the run goes ahead and finds the one estimable quantity.
    f.answerer.answer(QMessageBox::Yes);
    QVERIFY(f.estimateAndWait());
    QCOMPARE(f.answerer.boxes().size(), 2);
    QCOMPARE(f.completed.count(), 1);
    std::vector<double> estimates = f.window.results().estimates;
    QCOMPARE(estimates.size(), std::size_t(2));
    QVERIFY(isNear(estimates[0] * estimates[1], 0.3, 1e-5));

    // No again, after a completed run: the estimates stay as they were.
    f.answerer.answer(QMessageBox::No);
    const pelk::EstimationSummary *summary = f.window.summary();
    f.estimate->click();
    QCOMPARE(f.answerer.boxes().size(), 3);
    QVERIFY(f.window.results().estimates == estimates);
    QCOMPARE(f.window.summary(), summary);
    QCOMPARE(f.completed.count(), 1);
    QCOMPARE(f.answerer.unexpected(), 0);
}

void tst_EstimatePage::withoutCovarianceAndRequestsOnlyParametersAreEstimated()
{
    Binomial b;
    b.covariance = "no";
    Fixture f;
    QVERIFY(f.window.loadWorkspace(workspace(binomialWorkspace(b))));
    QVERIFY(!f.window.workspace().calculateCovariance);
    f.estimate->click();
    QCOMPARE(f.page->sequence()->runner()->runnables().size(), 1);
    QVERIFY(f.finished.wait(120000));

    const QStringList log = f.log();
    int i = 0;
    checkParameterRunLines(log, i);
    QCOMPARE(i, log.size());
    QCOMPARE(f.completed.count(), 1);
    QVERIFY(!f.window.results().covarianceAvailable);
    QVERIFY(isNear(f.window.results().estimates[0], 0.3, 1e-6));
}

void tst_EstimatePage::profileRunMovesTheProgressBarAndWritesItsTable()
{
    Fixture f;
    QVERIFY(f.window.loadWorkspace(PELK_EXAMPLES_DIR "/two-sample-capture.txt"));
    QSignalSpy progress(f.form->progressBar(), &QProgressBar::valueChanged);
    QVERIFY(f.estimateAndWait(300000));

    // The covariance run counts its Hessian entries up to 100; then two
    // requests, two sides each: a quarter per searched side.
    QList<int> values;
    for (const QList<QVariant> &arguments : std::as_const(progress))
        values << arguments.at(0).toInt();
    const qsizetype profileStart = values.lastIndexOf(0);
    QCOMPARE(values.mid(profileStart), QList<int>({0, 25, 50, 75, 100}));
    const QList<int> covariance = values.mid(0, profileStart);
    QVERIFY(!covariance.isEmpty() && covariance.first() == 0 && covariance.last() == 100);
    QVERIFY(std::is_sorted(covariance.begin(), covariance.end()));
    QVERIFY(f.form->progressBar()->isHidden());

    const double nHat = support::twoSample::abundance();
    QVERIFY(isNear(f.window.results().estimates[0], nHat, 1e-5));
    QCOMPARE(f.completed.count(), 1);

    const QStringList log = f.log();
    int i = 0;
    checkParameterRunLines(log, i);
    QCOMPARE(log.mid(i, 3), QStringList({"Estimating covariance matrix...", "Covariance matrix estimation complete.",
                                          "Estimating profile likelihood confidence intervals..."}));
    QCOMPARE(log.last(), QString("ProfileLikelihood estimation complete."));
    const QStringList headers{"Parameter N, alpha level = 0.05, lower boundary",
                              "Parameter N, alpha level = 0.05, upper boundary",
                              "Convenience function  detection, alpha level = 0.05, lower boundary",
                              "Convenience function  detection, alpha level = 0.05, upper boundary"};
    int rowsOfN = 0;
    for (const QString &header : headers) {
        int line = int(log.indexOf(header));
        QVERIFY2(line > 0, qPrintable(header));
        QCOMPARE(log.value(++line), QString("mle\tvalue\tchi-squared\ttarget chi-squared"));
        QCOMPARE(log.value(++line), QString("---\t-----\t-----------\t------------------"));
        // Rows: mle, value, chi-squared and the 0.05 target, 6 digits each.
        int rows = 0;
        while (++line < log.size() && log.at(line).count('\t') == 3 && !log.at(line).startsWith("mle")) {
            const QStringList fields = log.at(line).split('\t');
            QCOMPARE(fields.at(3), QString("3.84146"));
            if (header.startsWith("Parameter N"))
                QCOMPARE(fields.at(0), QString::number(f.window.results().estimates[0], 'g', 6));
            ++rows;
        }
        QVERIFY2(rows > 0, qPrintable(header));
        if (header.startsWith("Parameter N"))
            rowsOfN += rows;
    }
    QVERIFY(rowsOfN > 2);
}

void tst_EstimatePage::cancelStopsTheRunWithoutAnnouncingIt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cancelAfter"); // status line; empty: at once
    QTest::addColumn<QString>("neverWritten");

    const QString slowProfiles = "\nN = 0.01,\nN = 0.05,\nN = 0.10;";
    QTest::newRow("before the worker starts") << support::captureRecaptureWorkspace(6, "powell", slowProfiles)
                                              << QString() << "Parameter estimation complete.";
    QTest::newRow("during the parameter run")
        << support::captureRecaptureWorkspace(10) << "Estimating model parameters..."
        << "Parameter estimation complete.";
    QTest::newRow("during the profile run")
        << support::captureRecaptureWorkspace(6, "powell", slowProfiles)
        << "Parameter N, alpha level = 0.01, lower boundary" << "ProfileLikelihood estimation complete.";
}

void tst_EstimatePage::cancelStopsTheRunWithoutAnnouncingIt()
{
    QFETCH(QString, text);
    QFETCH(QString, cancelAfter);
    QFETCH(QString, neverWritten);
    Fixture f;
    QVERIFY(f.window.loadWorkspace(workspace(text)));
    QSignalSpy status(f.page->sequence(), &EstimationSequence::status);
    QSignalSpy canceled(f.page->sequence(), &EstimationSequence::canceled);
    QSignalSpy cancelRequests(f.page, &pelk::EstimatePage::cancelEstimation);

    f.estimate->click();
    if (!cancelAfter.isEmpty()) {
        auto seen = [&] {
            for (const QList<QVariant> &arguments : std::as_const(status))
                if (arguments.at(0).toString() == cancelAfter)
                    return true;
            return false;
        };
        while (!seen())
            QVERIFY2(status.wait(300000), "the status line to cancel after never came");
        QVERIFY2(f.page->isRunning(), "the run ended before it could be cancelled");
    }
    f.cancel->click();
    QCOMPARE(cancelRequests.count(), 1);
    // The units check their flags once per iteration: the run ends soon.
    QVERIFY(f.finished.count() == 1 || f.finished.wait(10000));

    QCOMPARE(canceled.count(), 1);
    QCOMPARE(f.completed.count(), 0);
    QVERIFY(!f.window.isLocked());
    QVERIFY(!f.window.summary());
    QVERIFY(f.isIdle());
    QVERIFY(f.form->progressBar()->isHidden());
    const QStringList log = f.log();
    QCOMPARE(log.last(), QString("Canceled."));
    QVERIFY(!log.contains(neverWritten));
    const QString bold = estimatetest::textOfWeight(f.form->textEdit()->document(), true);
    QVERIFY(bold.endsWith("Canceled."));
}

void tst_EstimatePage::lockDisablesEstimateAndClearingEnablesIt()
{
    Fixture f;
    QVERIFY(f.window.loadWorkspace(workspace(binomialWorkspace())));
    emit f.window.lockWorkspace();
    QVERIFY(!f.estimate->isEnabled());
    emit f.window.clearEstimates();
    QVERIFY(f.estimate->isEnabled());

    QVERIFY(f.estimateAndWait());
    QVERIFY(f.window.isLocked());
    QVERIFY(f.estimate->isEnabled());
    // Another press while locked runs again and writes a fresh log.
    QVERIFY(f.estimateAndWait());
    QCOMPARE(f.completed.count(), 2);
    QCOMPARE(f.log().count("Estimating model parameters..."), 1);

    // The lock without a run disables Estimate until the estimates are cleared.
    emit f.window.lockWorkspace();
    QVERIFY(!f.estimate->isEnabled());
    f.answerer.answer(QMessageBox::Ok);
    f.window.onClearCurrentEstimates();
    QVERIFY(!f.window.isLocked());
    QVERIFY(f.estimate->isEnabled());
    QVERIFY(!f.cancel->isEnabled());
    // The log of the last run stays until the next press.
    QCOMPARE(f.log().first(), QString("Estimating model parameters..."));
}

// The window replaces the model, the counts and the results the worker
// uses; the run is stopped first and ends as a cancelled one.
void tst_EstimatePage::loadingAWorkspaceDuringARunStopsIt()
{
    Fixture f;
    QVERIFY(f.window.loadWorkspace(workspace(support::captureRecaptureWorkspace(10))));
    QSignalSpy canceled(f.page->sequence(), &EstimationSequence::canceled);
    f.estimate->click();
    QVERIFY(f.page->isRunning());
    QVERIFY(f.window.loadWorkspace(workspace(binomialWorkspace())));
    QVERIFY(f.finished.count() == 1 || f.finished.wait(10000));
    QCOMPARE(canceled.count(), 1);
    QCOMPARE(f.completed.count(), 0);
    QVERIFY(f.isIdle());
    QCOMPARE(f.log().last(), QString("Canceled."));

    // The new workspace estimates normally.
    QVERIFY(f.estimateAndWait());
    QCOMPARE(f.completed.count(), 1);
    QVERIFY(isNear(f.window.results().estimates[0], 0.3, 1e-6));
}

// The worker reads the window's workspace: it must be stopped before the
// window's members go (the sanitizers report it otherwise).
void tst_EstimatePage::destroyingTheWindowDuringARunIsSafe()
{
    auto window = std::make_unique<PelkWindow>();
    QVERIFY(window->loadWorkspace(workspace(support::captureRecaptureWorkspace(10))));
    window->estimatePage()->form()->estimateButton()->click();
    QVERIFY(window->estimatePage()->isRunning());
    window.reset();
    QTest::qWait(50);
}

void tst_EstimatePage::linesHaveTheirColourWeightAndNumberFormat()
{
    Fixture f;
    f.page->onStatus("a status line");
    f.page->onError("an error line");
    f.page->onProfileStatus(1234.56789, 0.000123456789, 3.0, 3.841458820694129);
    f.page->onEstimationStatus(12.3456789, 1e-7, 4);
    f.page->onCanceled();
    QCOMPARE(f.log(), QStringList({"a status line", "an error line", "1234.57\t0.000123457\t3\t3.84146",
                                   "Starting function value: 12.3457", "Ending function value: 1e-07",
                                   "Number of iterations: 4", "Canceled."}));

    const QTextDocument *document = f.form->textEdit()->document();
    auto formatOf = [document](int block) { return document->findBlockByNumber(block).begin().fragment().charFormat(); };
    QCOMPARE(formatOf(0).foreground().color(), QColor(Qt::black));
    QVERIFY(formatOf(0).fontWeight() < QFont::Bold);
    QCOMPARE(formatOf(1).foreground().color(), QColor(Qt::red));
    QCOMPARE(formatOf(1).fontWeight(), int(QFont::Bold));
    // A normal line after an error line is neither red nor bold.
    QCOMPARE(formatOf(2).foreground().color(), QColor(Qt::black));
    QVERIFY(formatOf(2).fontWeight() < QFont::Bold);
    QCOMPARE(formatOf(6).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatOf(6).foreground().color(), QColor(Qt::black));
}

// The workspace once shipped as an example: Fletch from an abundance seed
// below the observed total, where no point can be used. The failure is the
// last, red line; nothing is locked or reported.
void tst_EstimatePage::failedParameterRunIsShownAndNeitherLockedNorReported()
{
    Fixture f;
    QVERIFY(f.window.loadWorkspace(QStringLiteral(PELK_TEST_DATA_DIR "/workspace.txt")));
    QVERIFY(f.estimateAndWait());

    QCOMPARE(f.completed.count(), 0);
    QVERIFY(!f.window.isLocked());
    QVERIFY(!f.window.summary());
    QVERIFY(f.isIdle());
    const QString advice = pelk::ParametersEstimator::noUsableStartingPoint();
    QCOMPARE(f.log().last(), advice);
    QVERIFY(!f.log().contains(QStringLiteral("Estimating covariance matrix...")));
    QCOMPARE(estimatetest::textOfWeight(f.form->textEdit()->document(), true), advice);
}

QTEST_MAIN(tst_EstimatePage)
#include "tst_estimatepage.moc"
