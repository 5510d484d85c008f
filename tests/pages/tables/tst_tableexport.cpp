// The three text forms of a result table: the file (comma-separated, 12
// significant digits), the clipboard (tab-separated with both headers, 15
// digits) and a copied selection (cells only, 12 digits). Text cells are
// written as their text.
#include "pages/diagnostics/ObservedExpectedModel.h"
#include "pages/tables/CovarianceMatrixModel.h"
#include "pages/tables/ParameterEstimatesModel.h"
#include "pages/tables/ProfileLikelihoodEstimatesModel.h"
#include "pages/tables/TableExport.h"

#include <QItemSelectionRange>
#include <QTest>

namespace {

zav::Matrix covariance2()
{
    zav::Matrix m(2, 2);
    m(0, 0) = 100.0 / 3.0;
    m(0, 1) = -0.125;
    m(1, 0) = -0.125;
    m(1, 1) = 2.0e-7;
    return m;
}

} // namespace

class TestTableExport : public QObject
{
    Q_OBJECT

private slots:
    void cellsAreNumbersInTheGeneralFormatOrTextAsItStands_data();
    void cellsAreNumbersInTheGeneralFormatOrTextAsItStands();
    void fileTextHasAHeaderLineWithoutTheCornerField();
    void clipboardTextOfACovarianceMatrixHasThreeLines();
    void observedExpectedExportKeepsCategoryLabelsAsText();
    void profileLimitsAreExportedAsShown();
    void selectionCopyHasCellsOnly();
};

void TestTableExport::cellsAreNumbersInTheGeneralFormatOrTextAsItStands_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("text");
    QTest::newRow("third, file") << QVariant(1.0 / 3.0) << 12 << "0.333333333333";
    QTest::newRow("third, clipboard") << QVariant(1.0 / 3.0) << 15 << "0.333333333333333";
    QTest::newRow("large, file") << QVariant(123456789012345.0) << 12 << "1.23456789012e+14";
    QTest::newRow("large, clipboard") << QVariant(123456789012345.0) << 15 << "123456789012345";
    QTest::newRow("small") << QVariant(2.0e-7) << 12 << "2e-07";
    QTest::newRow("whole") << QVariant(150.0) << 12 << "150";
    QTest::newRow("negative") << QVariant(-0.125) << 12 << "-0.125";
    QTest::newRow("integer") << QVariant(7) << 12 << "7";
    QTest::newRow("not available") << QVariant(QString("--na--")) << 12 << "--na--";
    QTest::newRow("numeric-looking label") << QVariant(QString("01")) << 12 << "01";
    QTest::newRow("label") << QVariant(QString("Two samples unobserved")) << 15 << "Two samples unobserved";
    QTest::newRow("nothing") << QVariant() << 12 << "";
}

void TestTableExport::cellsAreNumbersInTheGeneralFormatOrTextAsItStands()
{
    QFETCH(QVariant, value);
    QFETCH(int, digits);
    QFETCH(QString, text);
    QCOMPARE(TableExport::cellText(value, digits), text);
}

void TestTableExport::fileTextHasAHeaderLineWithoutTheCornerField()
{
    ParameterEstimatesModel model({{"N", 0, 150.0, 100.0 / 3.0}, {"p1", 0, 0.4, std::nullopt}}, nullptr);
    QCOMPARE(TableExport::commaSeparated(model),
             QString("Estimate,s.e.\n"
                     "N,150,33.3333333333\n"
                     "p1,0.4,--na--\n"));
}

void TestTableExport::clipboardTextOfACovarianceMatrixHasThreeLines()
{
    CovarianceMatrixModel model({"N", "p"}, covariance2(), nullptr);
    const QString text = TableExport::tabSeparated(model);
    QCOMPARE(text, QString("\tN\tp\n"
                           "N\t33.3333333333333\t-0.125\n"
                           "p\t-0.125\t2e-07\n"));
    QCOMPARE(text.count(u'\n'), 3);
}

void TestTableExport::observedExpectedExportKeepsCategoryLabelsAsText()
{
    // Rows carry no header, so every line starts with an empty field.
    ObservedExpectedModel model({{"01", 30.0, 30.0, 0.0}, {"Two samples unobserved", 60.0, 48.0, 1.5}}, nullptr);
    QCOMPARE(TableExport::commaSeparated(model),
             QString("Category,Observed,Expected,Anscombe Residual\n"
                     ",01,30,30,0\n"
                     ",Two samples unobserved,60,48,1.5\n"));
    QCOMPARE(TableExport::tabSeparated(model),
             QString("\tCategory\tObserved\tExpected\tAnscombe Residual\n"
                     "\t01\t30\t30\t0\n"
                     "\tTwo samples unobserved\t60\t48\t1.5\n"));
}

void TestTableExport::profileLimitsAreExportedAsShown()
{
    ProfileLikelihoodEstimatesModel model({{"N", true, 1, 150.0, 117.2345, std::nullopt, 2}}, nullptr);
    QCOMPARE(TableExport::commaSeparated(model),
             QString("Estimate,Alpha,Lower Bound,Upper Bound\n"
                     "N,150,0.05,117.23,--na--\n"));
}

void TestTableExport::selectionCopyHasCellsOnly()
{
    CovarianceMatrixModel model({"N", "p"}, covariance2(), nullptr);
    const QItemSelectionRange all(model.index(0, 0), model.index(1, 1));
    QCOMPARE(TableExport::range(model, all), QString("33.3333333333\t-0.125\n-0.125\t2e-07\n"));
    const QItemSelectionRange column(model.index(0, 1), model.index(1, 1));
    QCOMPARE(TableExport::range(model, column), QString("-0.125\n2e-07\n"));
}

QTEST_MAIN(TestTableExport)
#include "tst_tableexport.moc"
