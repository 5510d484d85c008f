// The "Estimation Summary" page in a real window: it is empty and cannot be
// visited until an estimation completes, then shows the window's summary
// of the run, and goes back when the estimates are cleared.
#include "app/PelkWindow.h"
#include "pages/estimate/EstimatePage.h"
#include "pages/estimate/EstimationForm.h"
#include "pages/report/EstimationSummaryPage.h"
#include "pages/report/ReportForm.h"
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

namespace {

QString cellText(QTextTable *table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

QList<QTextTable *> tables(const QTextDocument *document)
{
    QList<QTextTable *> result;
    for (QTextFrame *frame : document->rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame))
            result.append(table);
    return result;
}

QString g6(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

class TestEstimationSummaryPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<IsolatedSettings> m_settings;
    std::unique_ptr<PelkWindow> m_window;

    EstimationSummaryPage *page() const { return m_window->estimationSummaryPage(); }
    QTextEdit *textEdit() const { return page()->findChild<QTextEdit *>("textEdit"); }

    void estimate()
    {
        ModalAnswerer answerer;
        m_window->estimatePage()->form()->estimateButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(m_window->isLocked(), 240000);
        QCOMPARE(answerer.unexpected(), 0);
    }

private slots:
    void initTestCase()
    {
        m_settings = std::make_unique<IsolatedSettings>();
        m_window = std::make_unique<PelkWindow>();
    }

    void cleanupTestCase() { m_window.reset(); }

    void unavailableAndEmptyAtStart()
    {
        QCOMPARE(page()->title(), QString("Estimation Summary"));
        QCOMPARE(page()->helpPageName(), QString("viewEstimationSummary.html"));
        QVERIFY(!page()->isAvailable());
        QVERIFY(textEdit());
        QVERIFY(textEdit()->document()->isEmpty());
    }

    void showsTheSummaryOfACompletedEstimation()
    {
        QVERIFY(m_window->loadWorkspace(PELK_EXAMPLES_DIR "/two-sample-capture.txt"));
        page()->setClock([] { return QDateTime(QDate(2010, 3, 5), QTime(15, 15, 42)); });
        estimate();
        QVERIFY(page()->isAvailable());
        const pelk::EstimationSummary *summary = m_window->summary();
        QVERIFY(summary);

        const QStringList lines = textEdit()->toPlainText().split(u'\n');
        QCOMPARE(lines.at(0), QString("Estimation Summary Report"));
        QCOMPARE(lines.at(1), QString("05 March 2010 03::15::42 pm"));
        QCOMPARE(lines.at(2), "AIC: " + g6(summary->aic));
        QCOMPARE(lines.at(3), "Log-likelihood:  " + g6(summary->logLikelihood));
        // Independent of the summary: AIC = 2k - 2 LL with three parameters.
        QCOMPARE(lines.at(2), "AIC: " + g6(6 - 2 * summary->logLikelihood));
        // One likelihood, and it has an unobserved category.
        QCOMPARE(lines.at(4), QString());
        QCOMPARE(lines.at(5), QString("Dimension of the Minimum Sufficient Statistic:  Not available"));
        QCOMPARE(lines.at(6), QString("Number of parameters: 3"));
        QVERIFY(!textEdit()->toPlainText().contains("WARNING"));
        QVERIFY(textEdit()->toPlainText().contains("\"Two samples\"\nTotal observed counts: 90\n"));

        const QList<QTextTable *> all = tables(textEdit()->document());
        QCOMPARE(all.size(), 4);
        QTextTable *counts = all.at(0);
        QCOMPARE(counts->rows(), 2);
        const QStringList countCells {"10", "40", "01", "30", "11", "20"};
        for (int column = 0; column < 6; ++column)
            QCOMPARE(cellText(counts, 1, column), countCells.at(column));

        QTextTable *parameters = all.at(1);
        QCOMPARE(parameters->rows(), 4);
        for (int i = 0; i < 3; ++i) {
            const auto &parameter = summary->parameters.at(i);
            QCOMPARE(cellText(parameters, 1 + i, 0), QStringList({"N", "p1", "p2"}).at(i));
            QCOMPARE(cellText(parameters, 1 + i, 1), g6(parameter.estimate));
            QVERIFY(parameter.standardError);
            QCOMPARE(cellText(parameters, 1 + i, 2), g6(*parameter.standardError));
        }

        // Requests for N and detection at 0.05.
        QTextTable *profiles = all.at(2);
        QCOMPARE(profiles->rows(), 3);
        QCOMPARE(cellText(profiles, 1, 0), QString("N"));
        QCOMPARE(cellText(profiles, 2, 0), QString("detection"));
        for (int row = 1; row <= 2; ++row) {
            const auto &interval = summary->profiles.at(row - 1);
            QCOMPARE(cellText(profiles, row, 1), g6(interval.estimate));
            QCOMPARE(cellText(profiles, row, 2), QString("0.05"));
            QVERIFY(interval.lower && interval.upper);
            QCOMPARE(cellText(profiles, row, 3), QString::number(*interval.lower, 'f', interval.displayDigits));
            QCOMPARE(cellText(profiles, row, 4), QString::number(*interval.upper, 'f', interval.displayDigits));
        }

        QTextTable *functions = all.at(3);
        QCOMPARE(functions->rows(), 2);
        QCOMPARE(cellText(functions, 1, 0), QString("detection"));
        QCOMPARE(cellText(functions, 1, 1), g6(summary->functions.first().estimate));
        QVERIFY(summary->functions.first().standardError);
        QCOMPARE(cellText(functions, 1, 2), g6(*summary->functions.first().standardError));
        // The view starts at the top of the report.
        QCOMPARE(textEdit()->textCursor().position(), 0);
    }

    void clearingTheEstimatesEmptiesTheReport()
    {
        QVERIFY(page()->isAvailable());
        ModalAnswerer answerer;
        answerer.answer(QMessageBox::Ok);
        m_window->onClearCurrentEstimates();
        QCOMPARE(answerer.boxes().size(), 1);
        QVERIFY(!page()->isAvailable());
        QVERIFY(textEdit()->document()->isEmpty());
        QVERIFY(!page()->isLockLabelShown());
    }

    void anotherEstimationRebuildsTheReport()
    {
        page()->setClock(&QDateTime::currentDateTime);
        estimate();
        QVERIFY(page()->isAvailable());
        QVERIFY(page()->isLockLabelShown());
        const QStringList lines = textEdit()->toPlainText().split(u'\n');
        QCOMPARE(lines.at(0), QString("Estimation Summary Report"));
        QVERIFY2(QRegularExpression("^\\d\\d [A-Z][a-z]+ \\d{4} \\d\\d::\\d\\d::\\d\\d (am|pm)$")
                         .match(lines.at(1))
                         .hasMatch(),
                 qPrintable(lines.at(1)));
        QCOMPARE(tables(textEdit()->document()).size(), 4);
        QCOMPARE(lines.count("Estimation Summary Report"), 1);
    }

    void lockingTheWorkspaceMakesThePageAvailable()
    {
        page()->onClearEstimates();
        QVERIFY(!page()->isAvailable());
        emit m_window->lockWorkspace();
        QVERIFY(page()->isAvailable());
    }

    void newWorkspaceClearsTheReport()
    {
        emit m_window->lockWorkspace();
        QVERIFY(page()->isAvailable());
        ModalAnswerer answerer;
        answerer.answer(QMessageBox::Discard); // in case the workspace counts as changed
        m_window->onNewWorkspace();
        QVERIFY(!page()->isAvailable());
        QVERIFY(textEdit()->document()->isEmpty());
    }
};

QTEST_MAIN(TestEstimationSummaryPage)
#include "tst_estimationsummarypage.moc"
