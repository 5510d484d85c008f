// The Estimate and Verify pages as the analyst drives them. Estimate runs
// the window's workspace into the window's results and relays the
// completion; the log, the buttons and the progress bar follow the run; an
// invalid model is refused and an over-parameterised one asked about
// first; a run that ends without completing locks nothing; the lock,
// loading a workspace and closing the window hold or stop runs. Verify
// checks the current model each time it is shown, errors bold, and never
// while an estimation evaluates it.
#include "support/BinomialWorkspace.h"
#include "support/CaptureRecaptureWorkspace.h"
#include "support/WindowFixture.h"

#include "estimation/ParametersEstimator.h"
#include "estimation/ThreadRunner.h"
#include "pages/estimate/VerifyModelPage.h"

#include <QProgressBar>
#include <QTextBlock>
#include <QTextEdit>

#include <cmath>

using pelk::EstimationSequence;

namespace {

using support::Binomial;

// The characters written bold (or not), in order, without line ends.
QString textOfWeight(const QTextDocument *document, bool bold)
{
    QString text;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if ((it.fragment().charFormat().fontWeight() >= QFont::Bold) == bold)
                text += it.fragment().text();
    return text;
}

const QString refusal = "Model Definition errors must be fixed before estimating the parameters.";
const QString slowProfiles = "\nN = 0.01,\nN = 0.05,\nN = 0.10;";

struct Fixture : WindowFixture
{
    pelk::EstimatePage *page = window.findChild<pelk::EstimatePage *>();
    EstimationForm *form = page->form();
    QSignalSpy completed{page, &pelk::EstimatePage::estimationComplete};
    QSignalSpy finished{page->sequence(), &EstimationSequence::finished};

    QStringList log() const { return form->textEdit()->toPlainText().split(u'\n', Qt::SkipEmptyParts); }
    QString bold() const { return textOfWeight(form->textEdit()->document(), true); }
    bool isIdle() const
    {
        return form->estimateButton()->isEnabled() && !form->cancelEstimationButton()->isEnabled()
            && !page->isRunning() && form->progressBar()->isHidden();
    }
    // Nothing started: no worker, and no end of a run arrives later.
    bool nothingRan()
    {
        QTest::qWait(50);
        return page->sequence()->runner()->runnables().isEmpty() && finished.isEmpty() && completed.isEmpty()
            && !window.isLocked() && window.results().estimates.empty();
    }
};

const QString valid = "\nThe Model Definition is valid.\n";

// Shows the Verify page and returns its text.
QString verified(WindowFixture &f)
{
    auto *page = f.window.findChild<VerifyModelPage *>();
    f.window.showPage(page);
    return page->textEdit()->toPlainText();
}

} // namespace

class tst_EstimatePage : public QObject
{
    Q_OBJECT

    IsolatedSettings m_settings;

private slots:

    void runFollowsTheButtonsAndEndsLocked_data()
    {
        QTest::addColumn<bool>("covariance");
        QTest::newRow("with covariance") << true;
        QTest::newRow("without covariance") << false;
    }

    void runFollowsTheButtonsAndEndsLocked()
    {
        QFETCH(bool, covariance);
        Binomial b;
        b.covariance = covariance;
        Fixture f;
        QVERIFY(f.load(b.text()));
        QSignalSpy windowCompleted(&f.window, &PelkWindow::estimationComplete);
        QSignalSpy progress(f.form->progressBar(), &QProgressBar::valueChanged);
        f.form->estimateButton()->click();
        // Running: the parameter run cannot tell how far it is, and clearing
        // the estimates must not offer a second start.
        QVERIFY(f.page->isRunning());
        QVERIFY(f.form->cancelEstimationButton()->isEnabled());
        QCOMPARE(f.form->progressBar()->maximum(), 0);
        QVERIFY(!f.form->progressBar()->isHidden());
        emit f.window.clearEstimates();
        QVERIFY(!f.form->estimateButton()->isEnabled());
        QVERIFY(f.finished.wait(120000));

        // The sequence's lines, as it checks them, up to the run's last.
        QCOMPARE(f.log().first(), QString("Estimating model parameters..."));
        QCOMPARE(f.log().last(), QString(covariance ? "Covariance matrix estimation complete."
                                                    : "Parameter estimation complete."));
        QCOMPARE(f.completed.count(), 1);
        QCOMPARE(windowCompleted.count(), 1);
        QVERIFY(f.window.isLocked());
        QVERIFY(std::abs(f.window.results().estimates.at(0) - 0.3) < 1e-6);
        QCOMPARE(f.window.results().covarianceAvailable, covariance);
        // Only the covariance run reports percentages.
        QCOMPARE(progress.contains({100}), covariance);
        // Every completed run ends with Estimate enabled, locked or not; a
        // second press runs again and writes a fresh log.
        QVERIFY(f.isIdle());
        QVERIFY(f.estimateAndWait());
        QCOMPARE(f.completed.count(), 2);
        QCOMPARE(f.log().count("Estimating model parameters..."), 1);

        // The lock without a run disables Estimate until the estimates go.
        emit f.window.lockWorkspace();
        QVERIFY(!f.form->estimateButton()->isEnabled());
        emit f.window.clearEstimates();
        QVERIFY(f.isIdle());
        QCOMPARE(f.answerer.boxes().size(), 0);
    }

    // The new workspace at start-up: the sequence's refusal (its messages
    // are checked with the sequence) shows, all bold, and nothing runs.
    void invalidModelIsRefused()
    {
        Fixture f;
        for (int press = 0; press < 2; ++press) {
            f.form->estimateButton()->click();
            QCOMPARE(f.log(), QStringList({"Probabilities for likelihood \"Likelihood 1\" do not sum to 1.", refusal}));
            QCOMPARE(textOfWeight(f.form->textEdit()->document(), false), QString());
            QVERIFY(f.isIdle());
            QVERIFY(f.nothingRan());
        }
    }

    // p and q appear only as p*q: one estimable quantity for two parameters.
    void overParameterisedModelAsksFirst()
    {
        Binomial b;
        b.parameters = "p, q";
        b.categories = "success, p*q,\nfailure, 1-p*q";
        b.seeds = "p = 0.5,\nq = 0.5";
        b.covariance = false;
        Fixture f;
        QVERIFY(f.load(b.text()));
        f.answerer.answer(QMessageBox::No);
        f.form->estimateButton()->click();
        QCOMPARE(f.answerer.texts(), QStringList{"There are more parameters than can be estimated.\n"
                                                 "Any estimates obtained by continuing can not be considered "
                                                 "valid.\nContinue anyway?"});
        QVERIFY(f.isIdle());
        QVERIFY(f.log().isEmpty());
        QVERIFY(f.nothingRan());

        f.answerer.answer(QMessageBox::Yes);
        QVERIFY(f.estimateAndWait());
        QCOMPARE(f.completed.count(), 1);
        const std::vector<double> estimates = f.window.results().estimates;
        QVERIFY(std::abs(estimates.at(0) * estimates.at(1) - 0.3) < 1e-5);

        QCOMPARE(f.answerer.unexpected(), 0);
    }

    void runEndingUncompletedLocksNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("cancelled at once") << QString() << true << "Canceled.";
        // Fletch from an abundance seed below the observed total, where no
        // point can be used.
        QTest::newRow("no usable starting point")
            << PELK_TEST_DATA_DIR "/workspace.txt" << false << pelk::ParametersEstimator::noUsableStartingPoint();
    }

    void runEndingUncompletedLocksNothing()
    {
        QFETCH(QString, file);
        QFETCH(bool, cancel);
        QFETCH(QString, lastLine);
        Fixture f;
        QVERIFY(file.isEmpty() ? f.load(support::captureRecaptureWorkspace(6, "powell", slowProfiles))
                               : f.window.loadWorkspace(file));
        QSignalSpy cancelRequests(f.page, &pelk::EstimatePage::cancelEstimation);
        f.form->estimateButton()->click();
        if (cancel)
            f.form->cancelEstimationButton()->click();
        QVERIFY(f.finished.count() == 1 || f.finished.wait(120000));

        QCOMPARE(cancelRequests.count(), int(cancel));
        QCOMPARE(f.completed.count(), 0);
        QVERIFY(!f.window.isLocked());
        QVERIFY(!f.window.summary());
        QVERIFY(f.isIdle());
        QCOMPARE(f.log().last(), lastLine);
        QVERIFY(f.bold().endsWith(lastLine));
    }

    // The worker reads the window's workspace and results: a workspace
    // loaded stops the run first, and the new one estimates normally; a
    // window closed stops it before its members go (the sanitizers report
    // it otherwise).
    void loadingAWorkspaceOrClosingTheWindowStopsARun()
    {
        auto f = std::make_unique<Fixture>();
        const QString slow = support::captureRecaptureWorkspace(10);
        QVERIFY(f->load(slow));
        f->form->estimateButton()->click();
        QVERIFY(f->page->isRunning());
        QVERIFY(f->load(Binomial().text()));
        QVERIFY(f->finished.count() == 1 || f->finished.wait(10000));
        QCOMPARE(f->log().last(), QString("Canceled."));
        QVERIFY(f->isIdle());
        QVERIFY(f->estimateAndWait());
        QCOMPARE(f->completed.count(), 1);
        QVERIFY(f->load(slow));
        f->form->estimateButton()->click();
        QVERIFY(f->page->isRunning());
        f.reset();
        QTest::qWait(50);
    }

    // Errors and "Canceled." stand out in bold; numbers have six digits.
    void linesHaveTheirWeightAndNumberFormat()
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
        QCOMPARE(f.bold(), QString("an error lineCanceled."));
    }

    // The verdict (its text is checked with the sequence) with its warning
    // in bold.
    void showsTheVerdictWhenShown()
    {
        WindowFixture f;
        Binomial over;
        over.parameters = "p, q";
        over.categories = "success, p*q,\nfailure, 1-p*q";
        over.seeds = "p = 0.5,\nq = 0.5";
        QVERIFY(f.load(over.text()));
        const QString tooMany = "There are more parameters than can be estimated by the current model.";
        QCOMPARE(verified(f), valid + "\nNumber of parameters: 2\nDimension of minimum sufficient statistic: 1\n"
                                  + tooMany + '\n');
        QCOMPARE(textOfWeight(f.window.findChild<VerifyModelPage *>()->textEdit()->document(), true), tooMany);
        QCOMPARE(f.answerer.boxes().size(), 0);
    }

    // Checking rebinds the formulas that the worker is evaluating; the page
    // waits and gives its verdict once the run has ended.
    void waitsForARunningEstimation()
    {
        Fixture f;
        QVERIFY(f.load(support::captureRecaptureWorkspace(6, "powell", slowProfiles)));
        f.form->estimateButton()->click();
        QCOMPARE(verified(f), QString("The model is being estimated; it will be verified when the estimation has ended.\n"));
        f.form->cancelEstimationButton()->click();
        QVERIFY(f.finished.wait(10000));
        QVERIFY(f.window.findChild<VerifyModelPage *>()->textEdit()->toPlainText().startsWith(valid));
    }
};

QTEST_MAIN(tst_EstimatePage)
#include "tst_estimatepage.moc"
