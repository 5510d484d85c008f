// The Verify page: each time it is shown it checks the current model and
// shows the findings and the verdict, errors bold, and never checks a model
// that an estimation is evaluating at that moment.
#include "EstimateTestSupport.h"
#include "support/CaptureRecaptureWorkspace.h"
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"
#include "support/TempFiles.h"

#include "app/PelkWindow.h"
#include "estimation/EstimationSequence.h"
#include "pages/estimate/EstimatePage.h"
#include "pages/estimate/EstimationForm.h"
#include "pages/estimate/VerifyModelPage.h"
#include "pages/symbols/ParameterDefinitionsModel.h"
#include "pages/symbols/ParameterDefinitionsPage.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

using estimatetest::Binomial;
using estimatetest::binomialWorkspace;

class tst_VerifyModelPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<IsolatedSettings> m_settings;
    support::TempFiles m_files;
    int m_fileCount = 0;

    QString workspace(const QString &text)
    {
        return m_files.write(QString("workspace%1.txt").arg(++m_fileCount), text);
    }

private slots:
    void initTestCase() { m_settings = std::make_unique<IsolatedSettings>(); }

    void showsTheVerdictWhenShown_data();
    void showsTheVerdictWhenShown();
    void checksTheModelAfreshEachTimeItIsShown();
    void waitsForARunningEstimation();
    void forgetsSymbolsRemovedSinceTheLastCheck_data();
    void forgetsSymbolsRemovedSinceTheLastCheck();
};

void tst_VerifyModelPage::showsTheVerdictWhenShown_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("expectedBold");

    const QString valid = "\nThe Model Definition is valid.\n";
    const QString invalid = "\nThe Model Definition is not valid.\n";

    QTest::newRow("binomial") << binomialWorkspace()
                              << valid + "\nNumber of parameters: 1\nDimension of minimum sufficient statistic: 1\n"
                              << QString();

    Binomial over;
    over.parameters = "p, q";
    over.success = "p*q";
    over.failure = "1-p*q";
    over.seeds = "p = 0.5,\nq = 0.5";
    const QString tooMany = "There are more parameters than can be estimated by the current model.\n";
    QTest::newRow("over-parameterised")
        << binomialWorkspace(over)
        << valid + "\nNumber of parameters: 2\nDimension of minimum sufficient statistic: 1\n" + tooMany << tooMany;

    // With an unobserved category the dimension is not compared.
    QTest::newRow("unobserved category") << support::captureRecaptureWorkspace(2) << valid << QString();

    Binomial undefined;
    undefined.success = "p*z";
    const QString finding = "Category \"success\" uses undefined symbol \"z\".\n";
    QTest::newRow("undefined symbol") << binomialWorkspace(undefined) << finding + invalid << finding + invalid;

    // The messages of a normal likelihood run together and are not bold.
    Binomial normal;
    normal.extraLikelihoods = "\nnormalLikelihood \"Measure\"\nobserved, x,\nexpected, y,\nstandardError, w;\n";
    QTest::newRow("normal likelihood")
        << binomialWorkspace(normal)
        << "Likelihood \"Measure\" undefined symbol \"x\" in \"observed\"."
           "Likelihood \"Measure\" undefined symbol \"y\" in \"expected\"."
           "Likelihood \"Measure\" undefined symbol \"w\" in \"standard error\"."
               + invalid
        << invalid;
}

void tst_VerifyModelPage::showsTheVerdictWhenShown()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(QString, expectedBold);
    PelkWindow window;
    ModalAnswerer answerer;
    QVERIFY(window.loadWorkspace(workspace(text)));
    VerifyModelPage *page = window.verifyModelPage();
    QCOMPARE(page->title(), QString("Verify the Model"));
    QCOMPARE(page->helpPageName(), QString("verifyModel.html"));
    QVERIFY(page->textEdit()->isReadOnly());

    window.showPage(page);
    QVERIFY(page->isCurrent());
    const QTextDocument *document = page->textEdit()->document();
    QCOMPARE(document->toPlainText(), expected);
    QCOMPARE(estimatetest::textOfWeight(document, true), estimatetest::withoutLineEnds(expectedBold));
    QString normal = expected;
    normal.remove(expectedBold);
    QCOMPARE(estimatetest::textOfWeight(document, false), estimatetest::withoutLineEnds(normal));
    QCOMPARE(answerer.boxes().size(), 0);
}

void tst_VerifyModelPage::checksTheModelAfreshEachTimeItIsShown()
{
    PelkWindow window;
    Binomial undefined;
    undefined.success = "p*z";
    QVERIFY(window.loadWorkspace(workspace(binomialWorkspace(undefined))));
    VerifyModelPage *page = window.verifyModelPage();
    window.showPage(page);
    QVERIFY(page->textEdit()->toPlainText().endsWith("\nThe Model Definition is not valid.\n"));

    // Loading shows the Parameters page; showing Verify again replaces the
    // text instead of adding to it.
    QVERIFY(window.loadWorkspace(workspace(binomialWorkspace())));
    QVERIFY(!page->isCurrent());
    window.showPage(page);
    QVERIFY(page->textEdit()->toPlainText().startsWith("\nThe Model Definition is valid.\n"));
    QVERIFY(!page->textEdit()->toPlainText().contains("not valid"));
}

// Checking rebinds the formulas that the worker is evaluating; the page
// waits and gives its verdict once the run has ended.
void tst_VerifyModelPage::waitsForARunningEstimation()
{
    PelkWindow window;
    QVERIFY(window.loadWorkspace(
        workspace(support::captureRecaptureWorkspace(6, "powell", "\nN = 0.01,\nN = 0.05,\nN = 0.10;"))));
    pelk::EstimatePage *estimatePage = window.estimatePage();
    QSignalSpy finished(estimatePage->sequence(), &pelk::EstimationSequence::finished);
    estimatePage->form()->estimateButton()->click();
    QVERIFY(estimatePage->isRunning());

    VerifyModelPage *page = window.verifyModelPage();
    window.showPage(page);
    QCOMPARE(page->textEdit()->toPlainText(),
             QString("The model is being estimated; it will be verified when the estimation has ended.\n"));

    estimatePage->form()->cancelEstimationButton()->click();
    QVERIFY(finished.wait(10000));
    QVERIFY(page->textEdit()->toPlainText().startsWith("\nThe Model Definition is valid.\n"));
}

void tst_VerifyModelPage::forgetsSymbolsRemovedSinceTheLastCheck_data()
{
    QTest::addColumn<bool>("rename");
    QTest::newRow("parameter deleted") << false;
    QTest::newRow("parameter renamed") << true;
}

// Verify, then remove the parameter a function uses in the parameter grid,
// then Verify again: the second check must not follow the first one's
// binding to the parameter node that went away (AddressSanitizer).
void tst_VerifyModelPage::forgetsSymbolsRemovedSinceTheLastCheck()
{
    QFETCH(bool, rename);
    PelkWindow window;
    ModalAnswerer answerer;
    Binomial b;
    b.parameters = "p, a";
    b.variables = "f = a + 1";
    b.seeds = "p = 0.5,\na = 0.5";
    QVERIFY(window.loadWorkspace(workspace(binomialWorkspace(b))));
    VerifyModelPage *page = window.verifyModelPage();
    window.showPage(page);
    QVERIFY(page->textEdit()->toPlainText().startsWith("\nThe Model Definition is valid.\n"));

    auto *grid = window.parameterDefinitionsPage()->findChild<ParameterDefinitionsModel *>();
    QVERIFY(grid);
    window.showPage(window.parameterDefinitionsPage());
    if (rename)
        QVERIFY(grid->setData(grid->index(0, 1), QStringLiteral("b")));
    else
        grid->deleteParameter(grid->index(0, 1));
    window.showPage(page);
    QCOMPARE(page->textEdit()->toPlainText(),
             QString("\"f\" uses undefined symbol \"a\".\n\nThe Model Definition is not valid.\n"));
}

QTEST_MAIN(tst_VerifyModelPage)
#include "tst_verifymodelpage.moc"
