// The Verify page: each time it is shown it checks the current model and
// shows the findings and the verdict, errors bold, and never checks a model
// that an estimation is evaluating at that moment.
#include "EstimateTestSupport.h"
#include "support/CaptureRecaptureWorkspace.h"
#include "support/WindowFixture.h"

#include "pages/estimate/VerifyModelPage.h"
#include "pages/symbols/ParameterDefinitionsModel.h"
#include "pages/symbols/ParameterDefinitionsPage.h"

#include <QTextEdit>

using estimatetest::Binomial;
using estimatetest::binomialWorkspace;

namespace {

const QString valid = "\nThe Model Definition is valid.\n";
const QString invalid = "\nThe Model Definition is not valid.\n";

} // namespace

class tst_VerifyModelPage : public QObject
{
    Q_OBJECT

    SharedSettings m_settings;

    static QString shownText(WindowFixture &f)
    {
        auto *page = f.window.findChild<VerifyModelPage *>();
        f.window.showPage(page);
        return page->textEdit()->toPlainText();
    }

private slots:
    void initTestCase() { m_settings = std::make_unique<IsolatedSettings>(); }

    void showsTheVerdictWhenShown_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("expectedBold"); // without line ends

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
            << valid + "\nNumber of parameters: 2\nDimension of minimum sufficient statistic: 1\n" + tooMany
            << "There are more parameters than can be estimated by the current model.";
        // With an unobserved category the dimension is not compared.
        QTest::newRow("unobserved category") << support::captureRecaptureWorkspace(2) << valid << QString();
        Binomial undefined;
        undefined.success = "p*z";
        QTest::newRow("undefined symbol") << binomialWorkspace(undefined)
                                          << "Category \"success\" uses undefined symbol \"z\".\n" + invalid
                                          << "Category \"success\" uses undefined symbol \"z\".The Model Definition is not valid.";
        // The messages of a normal likelihood run together and are not bold.
        Binomial normal;
        normal.extraLikelihoods = "\nnormalLikelihood \"Measure\"\nobserved, x,\nexpected, y,\nstandardError, w;\n";
        QTest::newRow("normal likelihood") << binomialWorkspace(normal)
                                           << "Likelihood \"Measure\" undefined symbol \"x\" in \"observed\"."
                                              "Likelihood \"Measure\" undefined symbol \"y\" in \"expected\"."
                                              "Likelihood \"Measure\" undefined symbol \"w\" in \"standard error\"."
                                               + invalid
                                           << "The Model Definition is not valid.";
    }

    void showsTheVerdictWhenShown()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(QString, expectedBold);
        WindowFixture f;
        QVERIFY(f.load(text));
        QCOMPARE(shownText(f), expected);
        const QTextDocument *document = f.window.findChild<VerifyModelPage *>()->textEdit()->document();
        QCOMPARE(estimatetest::textOfWeight(document, true), expectedBold);
        QCOMPARE(f.answerer.boxes().size(), 0);
    }

    // Loading shows another page; showing Verify again replaces the text.
    void checksTheModelAfreshEachTimeItIsShown()
    {
        WindowFixture f;
        Binomial undefined;
        undefined.success = "p*z";
        QVERIFY(f.load(binomialWorkspace(undefined)));
        QVERIFY(shownText(f).endsWith(invalid));
        QVERIFY(f.load(binomialWorkspace()));
        QVERIFY(!f.window.findChild<VerifyModelPage *>()->isCurrent());
        QVERIFY(shownText(f).startsWith(valid));
        QVERIFY(!shownText(f).contains("not valid"));
    }

    // Checking rebinds the formulas that the worker is evaluating; the page
    // waits and gives its verdict once the run has ended.
    void waitsForARunningEstimation()
    {
        WindowFixture f;
        QVERIFY(f.load(support::captureRecaptureWorkspace(6, "powell", "\nN = 0.01,\nN = 0.05,\nN = 0.10;")));
        auto *estimatePage = f.window.findChild<pelk::EstimatePage *>();
        QSignalSpy finished(estimatePage->sequence(), &pelk::EstimationSequence::finished);
        estimatePage->form()->estimateButton()->click();
        QCOMPARE(shownText(f), QString("The model is being estimated; it will be verified when the estimation has ended.\n"));
        estimatePage->form()->cancelEstimationButton()->click();
        QVERIFY(finished.wait(10000));
        QVERIFY(f.window.findChild<VerifyModelPage *>()->textEdit()->toPlainText().startsWith(valid));
    }

    void forgetsSymbolsRemovedSinceTheLastCheck_data()
    {
        QTest::addColumn<bool>("rename");
        QTest::newRow("parameter deleted") << false;
        QTest::newRow("parameter renamed") << true;
    }

    // Verify, remove the parameter a function uses in the parameter grid,
    // Verify again: the second check must not follow the first one's
    // binding to the parameter node that went away (AddressSanitizer).
    void forgetsSymbolsRemovedSinceTheLastCheck()
    {
        QFETCH(bool, rename);
        WindowFixture f;
        Binomial b;
        b.parameters = "p, a";
        b.variables = "f = a + 1";
        b.seeds = "p = 0.5,\na = 0.5";
        QVERIFY(f.load(binomialWorkspace(b)));
        QVERIFY(shownText(f).startsWith(valid));
        auto *parameters = f.window.findChild<ParameterDefinitionsPage *>();
        auto *grid = parameters->findChild<ParameterDefinitionsModel *>();
        f.window.showPage(parameters);
        if (rename)
            QVERIFY(grid->setData(grid->index(0, 1), QStringLiteral("b")));
        else
            grid->deleteParameter(grid->index(0, 1));
        QCOMPARE(shownText(f), "\"f\" uses undefined symbol \"a\".\n" + invalid);
    }
};

QTEST_MAIN(tst_VerifyModelPage)
#include "tst_verifymodelpage.moc"
