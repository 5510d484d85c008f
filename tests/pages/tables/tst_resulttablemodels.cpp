// The item models of the result tables, built from hand-made summary
// values: every header and cell as the views show them.
#include "pages/tables/CorrelationMatrixModel.h"
#include "pages/tables/CovarianceMatrixModel.h"
#include "pages/tables/ParameterEstimatesModel.h"
#include "pages/tables/ProfileLikelihoodEstimatesModel.h"
#include "pages/tables/VariableEstimatesModel.h"

#include <QAbstractItemModelTester>
#include <QFont>
#include <QTest>

#include <cmath>
#include <limits>

using Estimate = pelk::EstimationSummary::Estimate;
using Interval = pelk::EstimationSummary::ProfileInterval;

namespace {

QVariant cell(const QAbstractItemModel &model, int row, int column)
{
    return model.index(row, column).data(Qt::DisplayRole);
}

QStringList headers(const QAbstractItemModel &model, Qt::Orientation orientation)
{
    QStringList result;
    const int count = orientation == Qt::Horizontal ? model.columnCount() : model.rowCount();
    for (int section = 0; section < count; ++section)
        result << model.headerData(section, orientation, Qt::DisplayRole).toString();
    return result;
}

void checkModel(QAbstractItemModel *model)
{
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
}

zav::Matrix matrix2(double a, double b, double c, double d)
{
    zav::Matrix m(2, 2);
    m(0, 0) = a;
    m(0, 1) = b;
    m(1, 0) = c;
    m(1, 1) = d;
    return m;
}

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

} // namespace

class TestResultTableModels : public QObject
{
    Q_OBJECT

private slots:
    void parameterTableShowsEstimatesAndStandardErrors();
    void missingOrNonFiniteStandardErrorsShowNotAvailable();
    void everyHeaderIsBoldAndCellsAnswerOnlyTheDisplayRole();
    void functionTableHeaderHasNoFinalFullStop();
    void modelWithoutFunctionsGivesAnEmptyTableWithTwoColumns();
    void profileLimitsShowDisplayDigitsDecimals_data();
    void profileLimitsShowDisplayDigitsDecimals();
    void profileRowsKeepTheSummaryOrder();
    void covarianceShowsTheMatrixUnderParameterNames();
    void correlationOfAKnownMatrix();
    void parameterWithoutVarianceHasNoCorrelations();
};

void TestResultTableModels::parameterTableShowsEstimatesAndStandardErrors()
{
    ParameterEstimatesModel model({{"N", 120, 151.25, 12.5}, {"p1", 0.5, 0.4, 0.0625}}, nullptr);
    checkModel(&model);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(headers(model, Qt::Horizontal), QStringList({"Estimate", "s.e."}));
    QCOMPARE(headers(model, Qt::Vertical), QStringList({"N", "p1"}));
    // Numbers stay doubles, so the view renders them as doubles.
    QCOMPARE(cell(model, 0, 0).typeId(), QMetaType::Double);
    QCOMPARE(cell(model, 0, 0).toDouble(), 151.25);
    QCOMPARE(cell(model, 0, 1).toDouble(), 12.5);
    QCOMPARE(cell(model, 1, 0).toDouble(), 0.4);
    QCOMPARE(cell(model, 1, 1).toDouble(), 0.0625);
}

void TestResultTableModels::missingOrNonFiniteStandardErrorsShowNotAvailable()
{
    ParameterEstimatesModel model({{"a", 0, 1.5, std::nullopt}, {"b", 0, 2.5, notANumber}, {"c", 0, notANumber, 1.0}}, nullptr);
    checkModel(&model);
    QCOMPARE(cell(model, 0, 1), QVariant(QString("--na--")));
    QCOMPARE(cell(model, 1, 1), QVariant(QString("--na--")));
    QCOMPARE(cell(model, 2, 0), QVariant(QString("--na--")));
    QCOMPARE(cell(model, 2, 1).toDouble(), 1.0);
}

void TestResultTableModels::everyHeaderIsBoldAndCellsAnswerOnlyTheDisplayRole()
{
    CovarianceMatrixModel model({"N", "p"}, matrix2(4, 1, 1, 9), nullptr);
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        for (int section = 0; section < 2; ++section) {
            const QVariant font = model.headerData(section, orientation, Qt::FontRole);
            QVERIFY(font.canConvert<QFont>());
            QVERIFY(font.value<QFont>().bold());
            QVERIFY(!model.headerData(section, orientation, Qt::ToolTipRole).isValid());
            QVERIFY(!model.headerData(section, orientation, Qt::TextAlignmentRole).isValid());
        }
    }
    for (int role : {int(Qt::EditRole), int(Qt::ToolTipRole), int(Qt::FontRole), int(Qt::TextAlignmentRole)})
        QVERIFY(!model.index(0, 1).data(role).isValid());
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
}

void TestResultTableModels::functionTableHeaderHasNoFinalFullStop()
{
    VariableEstimatesModel model({{"detection", 0, 0.6, 0.05}, {"odds", 0, 1.5, std::nullopt}}, nullptr);
    checkModel(&model);
    QCOMPARE(headers(model, Qt::Horizontal), QStringList({"Estimate", "s.e"}));
    QCOMPARE(headers(model, Qt::Vertical), QStringList({"detection", "odds"}));
    QCOMPARE(cell(model, 0, 0).toDouble(), 0.6);
    QCOMPARE(cell(model, 0, 1).toDouble(), 0.05);
    QCOMPARE(cell(model, 1, 1), QVariant(QString("--na--")));
}

void TestResultTableModels::modelWithoutFunctionsGivesAnEmptyTableWithTwoColumns()
{
    VariableEstimatesModel model({}, nullptr);
    checkModel(&model);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(headers(model, Qt::Horizontal), QStringList({"Estimate", "s.e"}));
}

void TestResultTableModels::profileLimitsShowDisplayDigitsDecimals_data()
{
    QTest::addColumn<bool>("found");
    QTest::addColumn<double>("limit");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("text");
    QTest::newRow("two decimals") << true << 117.23456 << 2 << "117.23";
    QTest::newRow("rounds to nearest") << true << 0.123456 << 5 << "0.12346";
    QTest::newRow("pads with zeros") << true << 0.5 << 4 << "0.5000";
    QTest::newRow("no decimals") << true << 181.7 << 0 << "182";
    QTest::newRow("negative digits as none") << true << 181.2 << -1 << "181";
    QTest::newRow("negative limit") << true << -1.26 << 1 << "-1.3";
    QTest::newRow("not found") << false << 0.0 << 3 << "--na--";
    QTest::newRow("not finite") << true << notANumber << 3 << "--na--";
}

void TestResultTableModels::profileLimitsShowDisplayDigitsDecimals()
{
    QFETCH(bool, found);
    QFETCH(double, limit);
    QFETCH(int, digits);
    QFETCH(QString, text);
    const std::optional<double> value = found ? std::optional<double>(limit) : std::nullopt;
    Interval lowerOnly {"N", true, 1, 150.0, value, std::nullopt, digits};
    Interval upperOnly {"N", true, 1, 150.0, std::nullopt, value, digits};
    ProfileLikelihoodEstimatesModel model({lowerOnly, upperOnly}, nullptr);
    checkModel(&model);
    QCOMPARE(cell(model, 0, 2), QVariant(text));
    QCOMPARE(cell(model, 0, 3), QVariant(QString("--na--")));
    QCOMPARE(cell(model, 1, 2), QVariant(QString("--na--")));
    QCOMPARE(cell(model, 1, 3), QVariant(text));
}

void TestResultTableModels::profileRowsKeepTheSummaryOrder()
{
    ProfileLikelihoodEstimatesModel model({{"N", true, 0, 150.0, 110.5, 220.26, 1},
                                           {"N", true, 2, 150.0, 120.0, 200.0, 1},
                                           {"detection", false, 1, 0.6, 0.51234, std::nullopt, 3}},
                                          nullptr);
    checkModel(&model);
    QCOMPARE(headers(model, Qt::Horizontal), QStringList({"Estimate", "Alpha", "Lower Bound", "Upper Bound"}));
    QCOMPARE(headers(model, Qt::Vertical), QStringList({"N", "N", "detection"}));
    QCOMPARE(cell(model, 0, 0).toDouble(), 150.0);
    QCOMPARE(cell(model, 0, 1), QVariant(QString("0.01")));
    QCOMPARE(cell(model, 0, 2), QVariant(QString("110.5")));
    QCOMPARE(cell(model, 0, 3), QVariant(QString("220.3")));
    QCOMPARE(cell(model, 1, 1), QVariant(QString("0.10")));
    QCOMPARE(cell(model, 2, 0).toDouble(), 0.6);
    QCOMPARE(cell(model, 2, 1), QVariant(QString("0.05")));
    QCOMPARE(cell(model, 2, 2), QVariant(QString("0.512")));
    QCOMPARE(cell(model, 2, 3), QVariant(QString("--na--")));
}

void TestResultTableModels::covarianceShowsTheMatrixUnderParameterNames()
{
    CovarianceMatrixModel model({"N", "p"}, matrix2(4, -3, -3, 9), nullptr);
    checkModel(&model);
    QCOMPARE(headers(model, Qt::Horizontal), QStringList({"N", "p"}));
    QCOMPARE(headers(model, Qt::Vertical), QStringList({"N", "p"}));
    QCOMPARE(cell(model, 0, 0).toDouble(), 4.0);
    QCOMPARE(cell(model, 0, 1).toDouble(), -3.0);
    QCOMPARE(cell(model, 1, 0).toDouble(), -3.0);
    QCOMPARE(cell(model, 1, 1).toDouble(), 9.0);
}

void TestResultTableModels::correlationOfAKnownMatrix()
{
    // Standard deviations 2 and 3, covariance -3: correlation -3 / 6.
    CorrelationMatrixModel model({"N", "p"}, matrix2(4, -3, -3, 9), nullptr);
    checkModel(&model);
    QCOMPARE(headers(model, Qt::Horizontal), QStringList({"N", "p"}));
    QCOMPARE(headers(model, Qt::Vertical), QStringList({"N", "p"}));
    QCOMPARE(cell(model, 0, 0).toDouble(), 1.0);
    QCOMPARE(cell(model, 0, 1).toDouble(), -0.5);
    QCOMPARE(cell(model, 1, 0).toDouble(), -0.5);
    QCOMPARE(cell(model, 1, 1).toDouble(), 1.0);

    // Not symmetric (as a Hessian inverse may be by rounding): each cell
    // divides by its own pair of standard deviations, 0.8 / (1 * 2).
    CorrelationMatrixModel skewed({"a", "b"}, matrix2(1, 0.8, 1.2, 4), nullptr);
    QCOMPARE(cell(skewed, 0, 1).toDouble(), 0.4);
    QCOMPARE(cell(skewed, 1, 0).toDouble(), 0.6);
}

void TestResultTableModels::parameterWithoutVarianceHasNoCorrelations()
{
    CorrelationMatrixModel model({"a", "b"}, matrix2(0, 0, 0, 4), nullptr);
    checkModel(&model);
    QCOMPARE(cell(model, 0, 0), QVariant(QString("--na--")));
    QCOMPARE(cell(model, 0, 1), QVariant(QString("--na--")));
    QCOMPARE(cell(model, 1, 0), QVariant(QString("--na--")));
    QCOMPARE(cell(model, 1, 1).toDouble(), 1.0);

    CorrelationMatrixModel negative({"a", "b"}, matrix2(-1, 0.5, 0.5, 4), nullptr);
    QCOMPARE(cell(negative, 0, 1), QVariant(QString("--na--")));
}

QTEST_MAIN(TestResultTableModels)
#include "tst_resulttablemodels.moc"
