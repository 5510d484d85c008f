// The summary report and the "Estimation Summary" page. The report built
// from hand-made summaries is read as its lines: each "\n" ends a block,
// every table cell is a block of its own, an empty block follows every
// table. The page in a real window is empty and out of reach until an
// estimation completes, then shows the window's summary, saved as PDF (file
// name, remembered directory, write failures) or printed; it goes again
// when the estimates are cleared or replaced.
#include "support/BinomialWorkspace.h"
#include "support/WindowFixture.h"

#include "pages/report/EstimationSummaryPage.h"
#include "pages/report/ReportForm.h"
#include "pages/report/ReportFormats.h"
#include "pages/report/SummaryReport.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextTable>

#include <cmath>


namespace {

const auto found = pelk::ProfileLimit::found;

using pelk::EstimationSummary;

// A two-sample capture-recapture fit as the window would summarise it.
EstimationSummary twoSampleSummary()
{
    EstimationSummary summary;
    summary.parameterCount = 3;
    summary.logLikelihood = -12.3456789;
    summary.aic = 30.6913578; // 2*3 - 2*LL
    summary.sampleSize = 90;
    summary.aicc = 30.9704276; // AIC + 2*3*4/86
    summary.goodnessOfFit.deviance = 0.0125;
    summary.goodnessOfFit.pearson = 0.0124;
    summary.goodnessOfFit.reason = "saturated";
    summary.likelihoods = {{"Two samples", -12.3456789}};
    summary.maxGradient = EstimationSummary::GradientCheck{2.5e-7, "N"};
    summary.sufficientStatisticDimension = 3;
    summary.counts = {{"Two samples", 90, {{"10", 40}, {"01", 30}, {"11", 20}}}};
    summary.parameters = {{"N", 120, 123.456789, 12.3456789}, {"p1", 0.5, 0.48, 0.0612345678}, {"p2", 0.4, 0.3333333333, 0.05}};
    summary.profiles = {{"N", true, 1, 123.456789, found(105.1234), found(150.98765), 3}};
    summary.functions = {{"detection", 0, 0.6533333333, 0.0456789123}};
    return summary;
}

QStringList build(const EstimationSummary &summary, QTextDocument &document)
{
    SummaryReport(&document, ReportFormats()).write(summary, QDateTime(QDate(2010, 3, 5), QTime(15, 15, 42)));
    return document.toPlainText().split(u'\n');
}


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

    IsolatedSettings m_settings;
    std::unique_ptr<WindowFixture> m_f;

    EstimationSummaryPage *page() const { return m_f->window.findChild<EstimationSummaryPage *>(); }
    ReportForm *form() const { return page()->findChild<ReportForm *>(); }
    QTextEdit *text() const { return form()->findChild<QTextEdit *>(); }
    QPushButton *button(const char *name) const { return form()->findChild<QPushButton *>(name); }

private slots:
    void initTestCase()
    {
        m_f = std::make_unique<WindowFixture>();
        QVERIFY(!page()->isAvailable());
        QVERIFY(text()->document()->isEmpty());
        QVERIFY(m_f->load(support::Binomial().text()));
        page()->setClock([] { return QDateTime(QDate(2010, 3, 5), QTime(15, 15, 42)); });
        QVERIFY(m_f->estimateAndWait());
    }
    void init() { QSettings().remove("reportDirectory"); }

    void writesEveryLineOfTheReport()
    {
        QTextDocument document;
        const QStringList expected{
            "Estimation Summary Report", "05 March 2010 03::15::42 pm", "AIC: 30.6914", "AICc: 30.9704", "BIC: --na--",
            "Log-likelihood:  -12.3457", "Largest scaled gradient:  2.5e-07 (N)", "",
            "Dimension of the Minimum Sufficient Statistic:  3", "Number of parameters: 3", "Sample size (n): 90", "",
            "Goodness of Fit", "Deviance (G^2):  0.0125", "Pearson X^2:  0.0124", "Degrees of freedom:  --na--",
            "p-value of G^2:  --na--", "p-value of X^2:  --na--", "c-hat (X^2/df):  --na--", "Not available:  saturated", "",
            "Categories and Corresponding Counts by Likelihood", "\"Two samples\"", "Total observed counts: 90", "",
            "Category", "Counts", "Category", "Counts", "Category", "Counts", "10", "40", "01", "30", "11", "20", "",
            "Parameter Estimates", "Parameter", "Estimate", "s.e.",
            "N", "123.457", "12.3457", "p1", "0.48", "0.0612346", "p2", "0.333333", "0.05", "",
            "Profile Likelihood Confidence Intervals", "Symbol", "Estimate", "Alpha", "Lower Bound", "Upper Bound",
            "N", "123.457", "0.05", "105.123", "150.988", "",
            "Convenience Functions", "Name", "Estimate", "s.e.", "detection", "0.653333", "0.0456789", "", ""};
        QCOMPARE(build(twoSampleSummary(), document), expected);
        // Writing again replaces the report, also after a different one.
        EstimationSummary other = twoSampleSummary();
        other.functions.clear();
        build(other, document);
        QCOMPARE(build(twoSampleSummary(), document), expected);
    }

    // The report of the window's estimation as its page shows it, the
    // window at its first size: every table header stays on one line.
    void tableHeadersStayOnOneLine()
    {
        m_f->window.show();
        m_f->window.showPage(page());
        QVERIFY(QTest::qWaitForWindowExposed(&m_f->window));
        QTextDocument *document = text()->document();
        document->documentLayout()->documentSize();
        QStringList headers;
        for (QTextFrame *frame : document->rootFrame()->childFrames()) {
            auto *table = qobject_cast<QTextTable *>(frame);
            for (int column = 0; table && column < table->columns(); ++column) {
                const QTextBlock block = table->cellAt(0, column).firstCursorPosition().block();
                headers << block.text();
                QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
            }
        }
        m_f->window.hide();
        QCOMPARE(headers.count("Counts"), 3);
    }

    // The lines that follow a given line once the summary is changed as the
    // row's name says.
    void partsFollowTheSummary_data()
    {
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("lines");
        const QString logLikelihood = "Log-likelihood:  -12.3457", dimension = "Dimension of the Minimum Sufficient Statistic:  ";
        const QString counts = "Categories and Corresponding Counts by Likelihood";
        const QString warning = "WARNING:  Parameters may not be estimable";
        const QString gradient = "Largest scaled gradient:  2.5e-07 (N)", n = "Sample size (n): 90";
        QTest::newRow("several likelihoods")
            << logLikelihood << QStringList{"   Sample A:  -5", "   Sample B:  -7.34568", gradient, ""};
        QTest::newRow("gradient above the threshold")
            << logLikelihood
            << QStringList{"Largest scaled gradient:  0.002 (p1)",
                           "WARNING:  The largest scaled gradient exceeds 0.001: the optimizer may have stopped before "
                           "the maximum", ""};
        QTest::newRow("gradient not available") << logLikelihood << QStringList{"Largest scaled gradient:  --na--", ""};
        QTest::newRow("dimension not available")
            << logLikelihood << QStringList{gradient, "", dimension + "Not available", "Number of parameters: 30", n};
        QTest::newRow("fewer data than parameters")
            << logLikelihood << QStringList{gradient, "", dimension + "2", "Number of parameters: 3", warning, n};
        QTest::newRow("more data")
            << logLikelihood << QStringList{gradient, "", dimension + "5", "Number of parameters: 3", n};
        // Three pairs a row; the last row is filled with empty cells.
        const QStringList header{"Total observed counts: 10", "", "Category", "Counts", "Category", "Counts", "Category", "Counts"};
        QTest::newRow("no categories") << "\"Many\"" << header + QStringList{"", "Parameter Estimates"};
        QTest::newRow("one category") << "\"Many\"" << header + QStringList{"c0", "10", "", "", "", "", ""};
        QTest::newRow("four categories")
            << "\"Many\"" << header + QStringList{"c0", "10", "c1", "11", "c2", "12", "c3", "13", "", "", "", "", ""};
        QTest::newRow("second likelihood") << "\"Second\""
            << QStringList{"Total observed counts: 7", "", "Category", "Counts", "Category", "Counts", "Category",
                           "Counts", "x", "3", "y", "4", "", ""};
        QTest::newRow("no standard errors")
            << "Parameter" << QStringList{"Estimate", "s.e.", "N", "123.457", "--na--", "p1", "0.48", "--na--"};
        QTest::newRow("no profiles and no functions") << "0.333333" << QStringList{"0.05", "", ""};
    }

    void partsFollowTheSummary()
    {
        QFETCH(QString, after);
        QFETCH(QStringList, lines);
        const QString tag = QTest::currentDataTag();
        EstimationSummary s = twoSampleSummary();
        if (tag == "several likelihoods")
            s.likelihoods = {{"Sample A", -5.0}, {"Sample B", -7.3456789}};
        if (tag == "gradient above the threshold")
            s.maxGradient = EstimationSummary::GradientCheck{0.002, "p1"};
        if (tag == "gradient not available")
            s.maxGradient.reset();
        const QMap<QString, std::pair<int, int>> dimensions{
            {"fewer data than parameters", {2, 3}}, {"more data", {5, 3}}};
        if (dimensions.contains(tag))
            std::tie(s.sufficientStatisticDimension, s.parameterCount) = dimensions[tag];
        if (tag == "dimension not available") {
            s.sufficientStatisticDimension.reset();
            s.parameterCount = 30;
        }
        const QMap<QString, int> categories{{"no categories", 0}, {"one category", 1}, {"four categories", 4}};
        if (categories.contains(tag)) {
            s.counts = {{"Many", 10, {}}};
            for (int i = 0; i < categories[tag]; ++i)
                s.counts[0].categories.append({QString("c%1").arg(i), 10 + i});
        }
        if (tag == "second likelihood")
            s.counts.append({"Second", 7, {{"x", 3}, {"y", 4}}});
        if (tag == "no standard errors") {
            s.parameters[0].standardError = std::sqrt(-1.0);
            s.parameters[1].standardError.reset();
        }
        if (tag == "no profiles and no functions") {
            s.profiles.clear();
            s.functions.clear();
        }
        QTextDocument document;
        const QStringList all = build(s, document);
        const qsizetype at = all.indexOf(after);
        QVERIFY2(at >= 0, qPrintable(all.join(u'|')));
        QCOMPARE(all.mid(at + 1, lines.size()), lines);
    }

    // The analyst's answer; the file written; the box shown (%1: directory).
    // The suffix, replace and directory rules are the file dialogs' own.
    void savesAsPdf_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("box");
        QTest::newRow("no suffix") << "report" << "report.pdf" << "";
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
        QVERIFY(written.isEmpty() || isPdf(dir.filePath(written)));
        QVERIFY(written == "old.pdf" || (old.open(QIODevice::ReadOnly) && old.readAll() == "an older report"));
        QCOMPARE(m_f->dialogs->requests.last().filter, QString("PDF (*.pdf)"));
        QCOMPARE(m_f->dialogs->requests.last().directory, QString("."));
        if (!written.isEmpty())
            QCOMPARE(QSettings().value("/reportDirectory").toString(), dir.path());
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
    // next estimation (shown from its start), and goes with a new workspace.
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
        // One parameter, 100 trials: AIC = 2 - 2 LL, AICc = AIC + 4/98 and
        // BIC = ln 100 - 2 LL, independently of the summary's own.
        const double logLikelihood = m_f->window.summary()->logLikelihood;
        QVERIFY(text()->toPlainText().startsWith("Estimation Summary Report\n05 March 2010 03::15::42 pm\nAIC: "
                                                 + g6(2 - 2 * logLikelihood) + "\nAICc: "
                                                 + g6(2 - 2 * logLikelihood + 4.0 / 98) + "\nBIC: "
                                                 + g6(std::log(100.0) - 2 * logLikelihood) + "\nLog-likelihood:  "
                                                 + g6(logLikelihood)));
        QCOMPARE(text()->toPlainText().count("Estimation Summary Report"), 1);
        QCOMPARE(text()->textCursor().position(), 0);
        m_f->answerer.answer(QMessageBox::Discard); // in case the workspace counts as changed
        m_f->window.onNewWorkspace();
        QVERIFY(!page()->isAvailable());
        QVERIFY(text()->document()->isEmpty());
    }
};

QTEST_MAIN(TestEstimationSummaryPage)
#include "tst_estimationsummarypage.moc"
