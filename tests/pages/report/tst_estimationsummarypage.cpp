// The "Estimation Summary" page in a real window: empty and out of reach
// until an estimation completes, then the window's summary as a report,
// saved as PDF (file name, remembered directory, write failures) or
// printed; gone again when the estimates are cleared or replaced.
#include "support/WindowFixture.h"

#include "pages/report/EstimationSummaryPage.h"
#include "pages/report/ReportForm.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextEdit>

namespace {

// 30 successes in 100 trials, one parameter.
const char *const coinWorkspace = "parameters\np;\n\nvariables;\n\nlikelihood \"Trials\"\nsuccess, p,\nfailure, 1-p;\n\n"
                                  "optimizer\npowell, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes;\n\n"
                                  "parameterSeeds\np = 0.5;\n\nprofileLikelihoodRequests;\n\nsuccess : 30\nfailure : 70\n";

bool isPdf(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-" && file.size() > 100;
}

QString g6(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

class TestEstimationSummaryPage : public QObject
{
    Q_OBJECT

    SharedSettings m_settings;
    std::unique_ptr<WindowFixture> m_f;

    EstimationSummaryPage *page() const { return m_f->window.findChild<EstimationSummaryPage *>(); }
    QTextEdit *text() const { return page()->reportForm()->findChild<QTextEdit *>(); }
    QPushButton *button(const char *name) const { return page()->reportForm()->findChild<QPushButton *>(name); }

private slots:
    void initTestCase()
    {
        m_settings = std::make_unique<IsolatedSettings>();
        m_f = std::make_unique<WindowFixture>();
        QVERIFY(!page()->isAvailable());
        QVERIFY(text()->document()->isEmpty());
        QVERIFY(m_f->load(coinWorkspace));
        page()->setClock([] { return QDateTime(QDate(2010, 3, 5), QTime(15, 15, 42)); });
        QVERIFY(m_f->estimateAndWait());
    }
    void init() { QSettings().remove("reportDirectory"); }
    void cleanupTestCase() { m_f.reset(); }

    // One parameter: AIC = 2 - 2 LL, independently of the summary's own.
    void showsTheSummaryOfTheCompletedEstimation()
    {
        QVERIFY(page()->isAvailable());
        const double logLikelihood = m_f->window.summary()->logLikelihood;
        QVERIFY(text()->toPlainText().startsWith("Estimation Summary Report\n05 March 2010 03::15::42 pm\nAIC: "
                                                 + g6(2 - 2 * logLikelihood) + "\nLog-likelihood:  " + g6(logLikelihood)));
        QCOMPARE(text()->textCursor().position(), 0);
    }

    // The analyst's answer; the file written; the box shown (%1: directory).
    void savesAsPdf_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("box");
        QTest::newRow("no suffix") << "report" << "report.pdf" << "";
        QTest::newRow("suffix in capitals kept") << "report.PDF" << "report.PDF" << "";
        QTest::newRow("other suffix") << "report.txt" << "report.txt.pdf" << "";
        QTest::newRow("earlier report replaced") << "old.pdf" << "old.pdf" << "";
        QTest::newRow("suffixed name taken, Return keeps it") << "old" << "" << "\"%1/old.pdf\" already exists.  Replace it?";
        QTest::newRow("cancelled") << "" << "" << "";
        QTest::newRow("missing directory") << "missing/report" << "" << "Unable to write \"%1/missing/report.pdf\"";
        QTest::newRow("a directory holds the name") << "taken.pdf" << "" << "Unable to write \"%1/taken.pdf\"";
    }

    void savesAsPdf()
    {
        QFETCH(QString, answer);
        QFETCH(QString, written);
        QFETCH(QString, box);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("taken.pdf"));
        QFile old(dir.filePath("old.pdf"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an older report") == 15);
        old.close();
        m_f->dialogs->names << (answer.isEmpty() ? QString() : dir.filePath(answer));
        m_f->answerer.clear();
        if (!box.isEmpty())
            m_f->answerer.press(Qt::Key_Return);
        button("saveToFileButton")->click();

        QCOMPARE(m_f->answerer.unexpected(), 0);
        QCOMPARE(m_f->answerer.texts(), box.isEmpty() ? QStringList() : QStringList{box.arg(dir.path())});
        QStringList files{"old.pdf"};
        if (!written.isEmpty() && written != "old.pdf")
            files << written;
        files.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), files);
        if (!written.isEmpty())
            QVERIFY(isPdf(dir.filePath(written)));
        if (written != "old.pdf")
            QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "an older report");
        QCOMPARE(m_f->dialogs->requests.last().filter, QString("PDF (*.pdf)"));
    }

    // The next dialog starts where the last report went; a bare file name
    // (written in the current directory) has no directory to remember.
    void rememberedDirectoryStartsTheNextDialog()
    {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        m_f->dialogs->names << "bare" << dir.filePath("first");
        button("saveToFileButton")->click();
        QVERIFY(!QSettings().contains("/reportDirectory"));
        button("saveToFileButton")->click();
        QDir::setCurrent(previous);
        QVERIFY(isPdf(dir.filePath("bare.pdf")));
        QCOMPARE(m_f->dialogs->requests.last().directory, QString("."));
        m_f->dialogs->names << QString();
        button("saveToFileButton")->click();
        QCOMPARE(m_f->dialogs->requests.last().directory, dir.path());
    }

    void printsOnlyWhenTheDialogIsAccepted_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("accepted") << true;
        QTest::newRow("cancelled") << false;
    }

    void printsOnlyWhenTheDialogIsAccepted()
    {
        QFETCH(bool, accept);
        QTemporaryDir dir;
        const QString output = dir.filePath("printed.pdf");
        bool handled = false;
        m_f->answerer.handle([&](QWidget *widget) {
            auto *dialog = qobject_cast<QPrintDialog *>(widget);
            QVERIFY(dialog);
            handled = true;
            // What choosing a PDF file printer in the dialog amounts to.
            dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog->printer()->setOutputFileName(output);
            dialog->done(accept ? QDialog::Accepted : QDialog::Rejected);
        });
        button("printButton")->click();
        QVERIFY(handled);
        QCOMPARE(isPdf(output), accept);
    }

    // Runs last: the report goes with the estimates, comes back with the
    // next estimation, and goes with a new workspace.
    void clearingOrReplacingTheEstimatesEmptiesTheReport()
    {
        m_f->answerer.clear();
        m_f->answerer.answer(QMessageBox::Ok);
        m_f->window.onClearCurrentEstimates();
        QCOMPARE(m_f->answerer.boxes().size(), 1);
        QVERIFY(!page()->isAvailable());
        QVERIFY(text()->document()->isEmpty());
        QVERIFY(!page()->isLockLabelShown());
        QVERIFY(m_f->estimateAndWait());
        QVERIFY(page()->isAvailable());
        QCOMPARE(text()->toPlainText().count("Estimation Summary Report"), 1);
        m_f->answerer.answer(QMessageBox::Discard); // in case the workspace counts as changed
        m_f->window.onNewWorkspace();
        QVERIFY(!page()->isAvailable());
        QVERIFY(text()->document()->isEmpty());
    }
};

QTEST_MAIN(TestEstimationSummaryPage)
#include "tst_estimationsummarypage.moc"
