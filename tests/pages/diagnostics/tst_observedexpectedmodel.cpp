// The observed-versus-expected table model: its four columns, its rows as
// the summary computed them, residuals against the closed form, and the
// tool tip text of the plots' points.
#include "pages/diagnostics/ObservedExpectedModel.h"

#include <QAbstractItemModelTester>
#include <QFont>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

QVariant cell(const QAbstractItemModel &model, int row, int column)
{
    return model.index(row, column).data(Qt::DisplayRole);
}

pelk::ObservedExpectedRow row(const QString &label, double observed, double expected)
{
    return {label, observed, expected, pelk::anscombeResidual(observed, expected)};
}

} // namespace

class TestObservedExpectedModel : public QObject
{
    Q_OBJECT

private slots:
    void hasFourBoldColumnsAndNoRowHeaders();
    void rowsShowLabelCountsAndResiduals();
    void residualsMatchTheClosedForm_data();
    void residualsMatchTheClosedForm();
    void nonFiniteResidualsShowNotAvailable_data();
    void nonFiniteResidualsShowNotAvailable();
    void noMultinomialLikelihoodGivesAnEmptyTable();
    void pointToolTipNamesTheCategoryAndBothCounts();
};

void TestObservedExpectedModel::hasFourBoldColumnsAndNoRowHeaders()
{
    ObservedExpectedModel model({row("10", 40, 40)}, nullptr);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.columnCount(), 4);
    const QStringList expected {"Category", "Observed", "Expected", "Anscombe Residual"};
    for (int column = 0; column < 4; ++column) {
        QCOMPARE(model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(), expected[column]);
        QVERIFY(model.headerData(column, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QVERIFY(!model.headerData(column, Qt::Horizontal, Qt::ToolTipRole).isValid());
    }
    for (int role : {int(Qt::DisplayRole), int(Qt::FontRole), int(Qt::ToolTipRole)})
        QVERIFY(!model.headerData(0, Qt::Vertical, role).isValid());
    QVERIFY(!model.index(0, 1).data(Qt::EditRole).isValid());
}

void TestObservedExpectedModel::rowsShowLabelCountsAndResiduals()
{
    // The two-sample study at N = 150, p1 = 0.4, p2 = 1/3, seen through
    // hand-made rows: three observed histories and the unobserved row,
    // whose observed value is N minus the 90 animals seen.
    const QList<pelk::ObservedExpectedRow> rows {row("10", 40, 40), row("01", 30, 30), row("11", 20, 20),
                                                 row("Two samples unobserved", 60, 48)};
    ObservedExpectedModel model(rows, nullptr);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(cell(model, 1, 0), QVariant(QString("01")));
    QCOMPARE(cell(model, 1, 1).toDouble(), 30.0);
    QCOMPARE(cell(model, 1, 2).toDouble(), 30.0);
    QCOMPARE(cell(model, 1, 3).toDouble(), 0.0);
    QCOMPARE(cell(model, 3, 0), QVariant(QString("Two samples unobserved")));
    QCOMPARE(cell(model, 3, 1).toDouble(), 60.0);
    QCOMPARE(cell(model, 3, 2).toDouble(), 48.0);
    QCOMPARE(cell(model, 3, 1).typeId(), QMetaType::Double);
    // 1.5 (60^(2/3) - 48^(2/3)) / 48^(1/6)
    QCOMPARE(cell(model, 3, 3).toDouble(), 1.5 * (std::cbrt(3600.0) - std::cbrt(2304.0)) / std::pow(48.0, 1.0 / 6.0));
}

void TestObservedExpectedModel::residualsMatchTheClosedForm_data()
{
    QTest::addColumn<double>("observed");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("residual");
    // Perfect cubes and sixth powers make the powers exact by hand.
    QTest::newRow("8 against 1") << 8.0 << 1.0 << 1.5 * (4.0 - 1.0);
    QTest::newRow("27 against 64") << 27.0 << 64.0 << 1.5 * (9.0 - 16.0) / 2.0;
    QTest::newRow("0 against 64") << 0.0 << 64.0 << 1.5 * (0.0 - 16.0) / 2.0;
    QTest::newRow("equal") << 125.0 << 125.0 << 0.0;
    QTest::newRow("729 against 1") << 729.0 << 1.0 << 1.5 * (81.0 - 1.0);
}

void TestObservedExpectedModel::residualsMatchTheClosedForm()
{
    QFETCH(double, observed);
    QFETCH(double, expected);
    QFETCH(double, residual);
    ObservedExpectedModel model({row("c", observed, expected)}, nullptr);
    const QVariant shown = cell(model, 0, 3);
    QCOMPARE(shown.typeId(), QMetaType::Double);
    QVERIFY2(std::abs(shown.toDouble() - residual) <= 1e-12 * std::max(1.0, std::abs(residual)),
             qPrintable(QString::number(shown.toDouble(), 'g', 17)));
}

void TestObservedExpectedModel::nonFiniteResidualsShowNotAvailable_data()
{
    QTest::addColumn<double>("observed");
    QTest::addColumn<double>("expected");
    QTest::newRow("expected 0, observed 5") << 5.0 << 0.0;
    QTest::newRow("expected 0, observed 0") << 0.0 << 0.0;
    QTest::newRow("abundance below the observed total") << -4.0 << 12.0;
}

void TestObservedExpectedModel::nonFiniteResidualsShowNotAvailable()
{
    QFETCH(double, observed);
    QFETCH(double, expected);
    ObservedExpectedModel model({row("Captures unobserved", observed, expected)}, nullptr);
    QVERIFY(!std::isfinite(model.row(0).residual));
    QCOMPARE(cell(model, 0, 3), QVariant(QString("--na--")));
    // The counts themselves still show.
    QCOMPARE(cell(model, 0, 1).toDouble(), observed);
    QCOMPARE(cell(model, 0, 2).toDouble(), expected);
}

void TestObservedExpectedModel::noMultinomialLikelihoodGivesAnEmptyTable()
{
    ObservedExpectedModel model({}, nullptr);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 4);
}

void TestObservedExpectedModel::pointToolTipNamesTheCategoryAndBothCounts()
{
    ObservedExpectedModel model({row("01", 30, 200.0 / 7.0), row("big", 1234567.0, 0.000123456789)}, nullptr);
    QCOMPARE(model.pointToolTip(0), QString("01:  Observed: 30, Expected: 28.5714"));
    QCOMPARE(model.pointToolTip(1), QString("big:  Observed: 1.23457e+06, Expected: 0.000123457"));
}

QTEST_MAIN(TestObservedExpectedModel)
#include "tst_observedexpectedmodel.moc"
