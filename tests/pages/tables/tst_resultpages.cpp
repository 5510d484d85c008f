// The result pages of a real window after a real estimation of the
// two-sample capture-recapture example: every cell equals the window's
// summary, which is the same record pelk-cli renders as JSON; the numbers
// agree with the maximum of the two-sample likelihood found by hand; clearing the
// estimates makes every page unavailable again.
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"

#include "app/PelkWindow.h"
#include "io/SummaryJsonWriter.h"
#include "model/ProfileLikelihoods.h"
#include "pages/diagnostics/ObservedExpectedPlotPage.h"
#include "pages/diagnostics/ObservedExpectedTablePage.h"
#include "pages/diagnostics/ResidualsPlotPage.h"
#include "pages/estimate/EstimatePage.h"
#include "pages/tables/CorrelationMatrixPage.h"
#include "pages/tables/CovarianceMatrixPage.h"
#include "pages/tables/ParameterEstimatesPage.h"
#include "pages/tables/ProfileLikelihoodEstimatesPage.h"
#include "pages/tables/TableContentForm.h"
#include "pages/tables/VariableEstimatesPage.h"

#include <QAbstractItemModelTester>
#include <QGraphicsEllipseItem>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

const QString exampleFile = QStringLiteral(PELK_EXAMPLES_DIR "/two-sample-capture.txt");

QVariant cell(const TableContentPage *page, int row, int column)
{
    return page->tableModel()->index(row, column).data(Qt::DisplayRole);
}

QString rowHeader(const TableContentPage *page, int row)
{
    return page->tableModel()->headerData(row, Qt::Vertical).toString();
}

// A cell shows a number that the JSON writes as a number, or "--na--"
// where the JSON writes null.
bool sameNumber(const QVariant &shown, const QJsonValue &written)
{
    if (written.isNull())
        return shown == QVariant(QString("--na--"));
    return shown.typeId() == QMetaType::Double && shown.toDouble() == written.toDouble();
}

bool closeTo(double value, double expected, double relative)
{
    return std::abs(value - expected) <= relative * std::max(1.0, std::abs(expected));
}

} // namespace

class TestResultPages : public QObject
{
    Q_OBJECT

private:
    IsolatedSettings *m_settings = nullptr;
    PelkWindow *m_window = nullptr;
    QJsonObject m_json; // the window's summary as the JSON writer renders it

    QList<TableContentPage *> tablePages() const
    {
        return {m_window->parameterEstimatesPage(), m_window->variableEstimatesPage(),
                m_window->profileLikelihoodEstimatesPage(), m_window->covarianceMatrixPage(),
                m_window->correlationMatrixPage(), m_window->observedExpectedTablePage()};
    }
    QList<ContentPage *> resultPages() const
    {
        QList<ContentPage *> pages;
        for (TableContentPage *page : tablePages())
            pages << page;
        return pages << m_window->observedExpectedPlotPage() << m_window->residualsPlotPage();
    }

private slots:
    void initTestCase();
    void cleanupTestCase();

    void resultPagesWaitForTheFirstEstimation();
    void parameterTableShowsTheSummary();
    void functionTableShowsTheSummary();
    void profileTableShowsTheSummary();
    void matrixTablesShowTheSummaryCovariance();
    void diagnosticsShowTheSummaryRows();
    void estimatesMatchTheTwoSampleClosedForm();
    void commandLineEstimatesTheSameNumbers();
    void everyModelPassesTheModelTester();
    void clearingEstimatesMakesEveryResultPageUnavailable();
};

void TestResultPages::initTestCase()
{
    m_settings = new IsolatedSettings;
    m_window = new PelkWindow;
}

void TestResultPages::cleanupTestCase()
{
    delete m_window;
    delete m_settings;
}

void TestResultPages::resultPagesWaitForTheFirstEstimation()
{
    for (ContentPage *page : resultPages())
        QVERIFY2(!page->isAvailable(), qPrintable(page->title()));
    for (TableContentPage *page : tablePages()) {
        QVERIFY(!page->form()->saveToFileButton()->isEnabled());
        QVERIFY(!page->form()->copyToClipboardButton()->isEnabled());
        QVERIFY(!page->tableModel());
    }
    QCOMPARE(m_window->parameterEstimatesPage()->title(), QString("Parameter Estimates"));
    QCOMPARE(m_window->variableEstimatesPage()->title(), QString("Convenience Function Estimates"));
    QCOMPARE(m_window->profileLikelihoodEstimatesPage()->title(), QString("Profile Likelihood Estimates"));
    QCOMPARE(m_window->covarianceMatrixPage()->title(), QString("Covariance Matrix"));
    QCOMPARE(m_window->correlationMatrixPage()->title(), QString("Correlation Matrix"));
    for (TableContentPage *page : tablePages().mid(0, 5))
        QCOMPARE(page->helpPageName(), QString("resultsTables.html"));

    QVERIFY(m_window->loadWorkspace(exampleFile));
    QSignalSpy complete(m_window, &PelkWindow::estimationComplete);
    ModalAnswerer answerer;
    m_window->estimatePage()->onEstimate();
    QVERIFY(complete.wait(120000));
    QCOMPARE(answerer.unexpected(), 0);
    QVERIFY(m_window->summary());
    m_json = pelk::SummaryJsonWriter::write({}, m_window->summary());

    for (ContentPage *page : resultPages())
        QVERIFY2(page->isAvailable(), qPrintable(page->title()));
    for (TableContentPage *page : tablePages()) {
        QVERIFY(page->form()->saveToFileButton()->isEnabled());
        QVERIFY(page->form()->copyToClipboardButton()->isEnabled());
    }
}

void TestResultPages::parameterTableShowsTheSummary()
{
    const auto &parameters = m_window->summary()->parameters;
    const QJsonArray written = m_json["parameters"].toArray();
    const TableContentPage *page = m_window->parameterEstimatesPage();
    QCOMPARE(page->tableModel()->rowCount(), 3);
    QCOMPARE(written.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(rowHeader(page, i), parameters[i].name);
        QCOMPARE(rowHeader(page, i), written[i]["name"].toString());
        QCOMPARE(cell(page, i, 0).toDouble(), parameters[i].estimate);
        QVERIFY(parameters[i].standardError);
        QCOMPARE(cell(page, i, 1).toDouble(), *parameters[i].standardError);
        QVERIFY(sameNumber(cell(page, i, 0), written[i]["estimate"]));
        QVERIFY(sameNumber(cell(page, i, 1), written[i]["se"]));
    }
}

void TestResultPages::functionTableShowsTheSummary()
{
    const auto &functions = m_window->summary()->functions;
    const QJsonArray written = m_json["functions"].toArray();
    const TableContentPage *page = m_window->variableEstimatesPage();
    QCOMPARE(page->tableModel()->rowCount(), 1);
    QCOMPARE(page->tableModel()->headerData(1, Qt::Horizontal).toString(), QString("s.e"));
    QCOMPARE(rowHeader(page, 0), QString("detection"));
    QCOMPARE(cell(page, 0, 0).toDouble(), functions[0].estimate);
    QCOMPARE(cell(page, 0, 1).toDouble(), *functions[0].standardError);
    QVERIFY(sameNumber(cell(page, 0, 0), written[0]["estimate"]));
    QVERIFY(sameNumber(cell(page, 0, 1), written[0]["se"]));
}

void TestResultPages::profileTableShowsTheSummary()
{
    const auto &profiles = m_window->summary()->profiles;
    const QJsonArray written = m_json["profiles"].toArray();
    const TableContentPage *page = m_window->profileLikelihoodEstimatesPage();
    QCOMPARE(page->tableModel()->rowCount(), 2);
    QCOMPARE(rowHeader(page, 0), QString("N"));
    QCOMPARE(rowHeader(page, 1), QString("detection"));
    for (int i = 0; i < 2; ++i) {
        QVERIFY(sameNumber(cell(page, i, 0), written[i]["estimate"]));
        QCOMPARE(cell(page, i, 1).toString(), written[i]["alpha"].toString());
        QCOMPARE(cell(page, i, 1).toString(), QString("0.05"));
        QVERIFY(profiles[i].lower && profiles[i].upper);
        QCOMPARE(cell(page, i, 2).toString(),
                 QString::number(written[i]["lower"].toDouble(), 'f', profiles[i].displayDigits));
        QCOMPARE(cell(page, i, 3).toString(),
                 QString::number(written[i]["upper"].toDouble(), 'f', profiles[i].displayDigits));
    }
    // N is near 150: the search resolves 10^(ceil(log10 150) - 5) = 0.01.
    QCOMPARE(profiles[0].displayDigits, 2);
    QVERIFY(cell(page, 0, 2).toString().contains(QRegularExpression("^\\d+\\.\\d\\d$")));
}

void TestResultPages::matrixTablesShowTheSummaryCovariance()
{
    const QJsonArray written = m_json["covariance"].toArray();
    const zav::Matrix &covariance = *m_window->summary()->covariance;
    const TableContentPage *covariancePage = m_window->covarianceMatrixPage();
    const TableContentPage *correlationPage = m_window->correlationMatrixPage();
    QCOMPARE(covariancePage->tableModel()->rowCount(), 3);
    QCOMPARE(covariancePage->tableModel()->columnCount(), 3);
    const QStringList names {"N", "p1", "p2"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(rowHeader(covariancePage, i), names[i]);
        QCOMPARE(covariancePage->tableModel()->headerData(i, Qt::Horizontal).toString(), names[i]);
        QCOMPARE(rowHeader(correlationPage, i), names[i]);
        for (int j = 0; j < 3; ++j) {
            QVERIFY(sameNumber(cell(covariancePage, i, j), written[i].toArray()[j]));
            const double rho = covariance(i, j) / (std::sqrt(covariance(j, j)) * std::sqrt(covariance(i, i)));
            QCOMPARE(cell(correlationPage, i, j).toDouble(), rho);
        }
        QCOMPARE(cell(correlationPage, i, i).toDouble(), 1.0);
    }
}

void TestResultPages::diagnosticsShowTheSummaryRows()
{
    const auto &rows = m_window->summary()->observedExpected;
    const QJsonArray written = m_json["observedExpected"].toArray();
    const TableContentPage *page = m_window->observedExpectedTablePage();
    QCOMPARE(page->tableModel()->rowCount(), 4);
    const QStringList labels {"10", "01", "11", "Two samples unobserved"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(cell(page, i, 0).toString(), labels[i]);
        QCOMPARE(cell(page, i, 0).toString(), written[i]["category"].toString());
        QCOMPARE(cell(page, i, 1).toDouble(), rows[i].observed);
        QCOMPARE(cell(page, i, 2).toDouble(), rows[i].expected);
        QVERIFY(sameNumber(cell(page, i, 1), written[i]["observed"]));
        QVERIFY(sameNumber(cell(page, i, 2), written[i]["expected"]));
        QVERIFY(sameNumber(cell(page, i, 3), written[i]["residual"]));
    }
    QCOMPARE(m_window->observedExpectedPlotPage()->points().size(), 4);
    QCOMPARE(m_window->residualsPlotPage()->points().size(), 4);
    QCOMPARE(m_window->residualsPlotPage()->points()[3]->toolTip(),
             QString("Two samples unobserved:  Observed: %1, Expected: %2")
                     .arg(QString::number(rows[3].observed, 'g', 6), QString::number(rows[3].expected, 'g', 6)));
}

void TestResultPages::estimatesMatchTheTwoSampleClosedForm()
{
    // Two samples of a closed population, n1 = 60 and n2 = 50 caught, r = 90
    // distinct animals. With the multinomial coefficient N! / (N - r)! in
    // the likelihood, p_j = n_j / N at the maximum and N solves
    //   psi(N + 1) - psi(N - 89) + log(1 - 60/N) + log(1 - 50/N) = 0,
    // where the digamma difference is the sum of 1/x over x = N-89 ... N.
    // (Dropping the 0.5 of Stirling's formula gives Lincoln-Petersen's
    // n1 n2 / m = 150; the exact root lies a little below.)
    const auto score = [](double n) {
        double sum = 0.0;
        for (int i = 0; i < 90; ++i)
            sum += 1.0 / (n - 89 + i);
        return sum + std::log(1 - 60 / n) + std::log(1 - 50 / n);
    };
    double low = 120.0, high = 150.0;
    QVERIFY(score(low) > 0 && score(high) < 0);
    while (high - low > 1e-10) {
        const double middle = (low + high) / 2;
        (score(middle) > 0 ? low : high) = middle;
    }
    const double n = (low + high) / 2;
    const double p1 = 60 / n, p2 = 50 / n;

    const TableContentPage *page = m_window->parameterEstimatesPage();
    QVERIFY2(closeTo(cell(page, 0, 0).toDouble(), n, 1e-5), qPrintable(QString::number(n, 'g', 12)));
    QVERIFY(closeTo(cell(page, 1, 0).toDouble(), p1, 1e-5));
    QVERIFY(closeTo(cell(page, 2, 0).toDouble(), p2, 1e-5));
    QVERIFY(closeTo(cell(m_window->variableEstimatesPage(), 0, 0).toDouble(), 1 - (1 - p1) * (1 - p2), 1e-5));

    // Expected counts N p1 (1 - p2), N (1 - p1) p2, N p1 p2, N (1 - p1)(1 - p2);
    // the unobserved row observes N - 90. The optimizer leaves N about 1e-3
    // from the root, which N - 90 carries at a larger relative size.
    const TableContentPage *diagnostics = m_window->observedExpectedTablePage();
    const QList<double> observed {40, 30, 20, n - 90};
    const QList<double> expected {n * p1 * (1 - p2), n * (1 - p1) * p2, n * p1 * p2, n * (1 - p1) * (1 - p2)};
    for (int i = 0; i < 4; ++i) {
        QVERIFY(closeTo(cell(diagnostics, i, 1).toDouble(), observed[i], 1e-4));
        QVERIFY(closeTo(cell(diagnostics, i, 2).toDouble(), expected[i], 1e-4));
        const double o = cell(diagnostics, i, 1).toDouble(), e = cell(diagnostics, i, 2).toDouble();
        QVERIFY(closeTo(cell(diagnostics, i, 3).toDouble(),
                        1.5 * (std::cbrt(o * o) - std::cbrt(e * e)) / std::pow(e, 1.0 / 6.0), 1e-9));
    }
}

void TestResultPages::commandLineEstimatesTheSameNumbers()
{
    QProcess process;
    process.start(QStringLiteral(PELK_CLI), {"estimate", "--json", exampleFile});
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 0);
    const QJsonObject cli = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    const QJsonArray parameters = cli["parameters"].toArray();
    QCOMPARE(parameters.size(), 3);
    // The same sequence on the same input: equal up to the optimizer's
    // tolerance, whichever thread ran it.
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(parameters[i]["name"].toString(), rowHeader(m_window->parameterEstimatesPage(), i));
        QVERIFY(closeTo(cell(m_window->parameterEstimatesPage(), i, 0).toDouble(),
                        parameters[i]["estimate"].toDouble(), 1e-7));
        QVERIFY(closeTo(cell(m_window->parameterEstimatesPage(), i, 1).toDouble(),
                        parameters[i]["se"].toDouble(), 1e-5));
    }
    const QJsonArray functions = cli["functions"].toArray();
    QVERIFY(closeTo(cell(m_window->variableEstimatesPage(), 0, 0).toDouble(), functions[0]["estimate"].toDouble(),
                    1e-7));
    const QJsonArray profiles = cli["profiles"].toArray();
    QCOMPARE(profiles.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const double shown = cell(m_window->profileLikelihoodEstimatesPage(), i, 2).toString().toDouble();
        const int digits = m_window->summary()->profiles[i].displayDigits;
        QVERIFY(std::abs(shown - profiles[i]["lower"].toDouble()) <= 2 * std::pow(10.0, -digits));
    }
}

void TestResultPages::everyModelPassesTheModelTester()
{
    for (TableContentPage *page : tablePages())
        QAbstractItemModelTester(page->tableModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestResultPages::clearingEstimatesMakesEveryResultPageUnavailable()
{
    ModalAnswerer answerer;
    answerer.answer(QMessageBox::Ok);
    m_window->onClearCurrentEstimates();
    QCOMPARE(answerer.boxes().size(), 1);
    QVERIFY(!m_window->summary());
    for (ContentPage *page : resultPages())
        QVERIFY2(!page->isAvailable(), qPrintable(page->title()));
    for (TableContentPage *page : tablePages()) {
        QVERIFY(!page->form()->saveToFileButton()->isEnabled());
        QVERIFY(!page->form()->copyToClipboardButton()->isEnabled());
        QVERIFY(!page->tableModel());
    }
}

QTEST_MAIN(TestResultPages)
#include "tst_resultpages.moc"
