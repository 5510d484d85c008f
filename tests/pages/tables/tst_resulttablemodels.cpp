// The result tables as item models built from hand-made summary values,
// seen through their clipboard text (both headers, 15 digits), and the
// file and selection text made from them: "--na--" wherever a value does
// not exist, profile limits with their own decimals, correlations from the
// covariance.
#include "pages/diagnostics/ObservedExpectedModel.h"
#include "pages/tables/CorrelationMatrixModel.h"
#include "pages/tables/CovarianceMatrixModel.h"
#include "pages/tables/ParameterEstimatesModel.h"
#include "pages/tables/ProfileLikelihoodEstimatesModel.h"
#include "pages/tables/TableExport.h"
#include "pages/tables/VariableEstimatesModel.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionRange>
#include <QTest>

#include <limits>
#include <memory>

using Model = std::shared_ptr<QAbstractItemModel>;
Q_DECLARE_METATYPE(Model)

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

zav::Matrix matrix2(double a, double b, double c, double d)
{
    zav::Matrix m(2, 2);
    m(0, 0) = a;
    m(0, 1) = b;
    m(1, 0) = c;
    m(1, 1) = d;
    return m;
}

Model parameters()
{
    return std::make_shared<ParameterEstimatesModel>(
        QList<pelk::EstimationSummary::Estimate>{{"N", 120, 150.0, 100.0 / 3.0}, {"p1", 0.5, 0.4, std::nullopt}},
        nullptr);
}

} // namespace

class TestResultTableModels : public QObject
{
    Q_OBJECT

private slots:
    void cellsAsTheClipboardShowsThem_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<QString>("text");
        QTest::newRow("parameters") << Model(std::make_shared<ParameterEstimatesModel>(
            QList<pelk::EstimationSummary::Estimate>{{"N", 0, 100.0 / 3.0, 12.5}, {"b", 0, 2.5, notANumber}, {"c", 0, notANumber, 1.0}},
            nullptr)) << "\tEstimate\ts.e.\nN\t33.3333333333333\t12.5\nb\t2.5\t--na--\nc\t--na--\t1\n";
        QTest::newRow("functions") << Model(std::make_shared<VariableEstimatesModel>(
            QList<pelk::EstimationSummary::Estimate>{{"detection", 0, 0.6, 0.05}, {"odds", 0, 1.5, std::nullopt}},
            nullptr)) << "\tEstimate\ts.e\ndetection\t0.6\t0.05\nodds\t1.5\t--na--\n";
        QTest::newRow("no functions") << Model(std::make_shared<VariableEstimatesModel>(
            QList<pelk::EstimationSummary::Estimate>{}, nullptr)) << "\tEstimate\ts.e\n";
        // Limits keep the summary's order and show displayDigits decimals
        // (rounded, zero-padded, none below 0); the estimate stays a number.
        QTest::newRow("profiles") << Model(std::make_shared<ProfileLikelihoodEstimatesModel>(
            QList<pelk::EstimationSummary::ProfileInterval>{{"N", true, 0, 150.0, 117.23456, 220.26, 2},
                                                            {"N", true, 2, 150.0, 0.123456, 0.5, 4},
                                                            {"f", false, 1, 0.6, 181.7, 181.2, 0},
                                                            {"f", false, 1, 0.6, -1.26, std::nullopt, 1},
                                                            {"g", false, 1, 1.5, notANumber, 2.7, -1}},
            nullptr)) << "\tEstimate\tAlpha\tLower Bound\tUpper Bound\n"
                         "N\t150\t0.01\t117.23\t220.26\nN\t150\t0.10\t0.1235\t0.5000\nf\t0.6\t0.05\t182\t181\n"
                         "f\t0.6\t0.05\t-1.3\t--na--\ng\t1.5\t0.05\t--na--\t3\n";
        QTest::newRow("covariance") << Model(std::make_shared<CovarianceMatrixModel>(
            QStringList{"N", "p"}, matrix2(100.0 / 3.0, -0.125, -0.125, 2e-7), nullptr))
                                    << "\tN\tp\nN\t33.3333333333333\t-0.125\np\t-0.125\t2e-07\n";
        // Standard deviations 2 and 3, covariance -3: correlation -3 / 6.
        QTest::newRow("correlation") << Model(std::make_shared<CorrelationMatrixModel>(
            QStringList{"N", "p"}, matrix2(4, -3, -3, 9), nullptr)) << "\tN\tp\nN\t1\t-0.5\np\t-0.5\t1\n";
        // A Hessian inverse may be asymmetric by rounding: each cell divides
        // by its own pair of standard deviations, 0.8 / 2 and 1.2 / 2.
        QTest::newRow("correlation, asymmetric") << Model(std::make_shared<CorrelationMatrixModel>(
            QStringList{"a", "b"}, matrix2(1, 0.8, 1.2, 4), nullptr)) << "\ta\tb\na\t1\t0.4\nb\t0.6\t1\n";
        QTest::newRow("correlation, no variance") << Model(std::make_shared<CorrelationMatrixModel>(
            QStringList{"a", "b"}, matrix2(0, 0, 0, 4), nullptr)) << "\ta\tb\na\t--na--\t--na--\nb\t--na--\t1\n";
        QTest::newRow("correlation, negative variance") << Model(std::make_shared<CorrelationMatrixModel>(
            QStringList{"a", "b"}, matrix2(-1, 0.5, 0.5, 4), nullptr)) << "\ta\tb\na\t--na--\t--na--\nb\t--na--\t1\n";
        // No row headers: every line starts with an empty field.
        QTest::newRow("observed and expected") << Model(std::make_shared<ObservedExpectedModel>(
            QList<pelk::ObservedExpectedRow>{{"01", 30.0, 30.0, 0.0}, {"Two samples unobserved", 60.0, 48.0, notANumber}},
            nullptr)) << "\tCategory\tObserved\tExpected\tAnscombe Residual\n"
                         "\t01\t30\t30\t0\n\tTwo samples unobserved\t60\t48\t--na--\n";
    }

    void cellsAsTheClipboardShowsThem()
    {
        QFETCH(Model, model);
        QFETCH(QString, text);
        QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(TableExport::tabSeparated(*model), text);
    }

    void cellTextIsTheGeneralFormatOrTheTextAsItStands_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("text");
        QTest::newRow("third, file") << QVariant(1.0 / 3.0) << 12 << "0.333333333333";
        QTest::newRow("large, file") << QVariant(123456789012345.0) << 12 << "1.23456789012e+14";
        QTest::newRow("large, clipboard") << QVariant(123456789012345.0) << 15 << "123456789012345";
        QTest::newRow("small") << QVariant(2.0e-7) << 12 << "2e-07";
        QTest::newRow("integer") << QVariant(7) << 12 << "7";
        QTest::newRow("numeric-looking label") << QVariant(QString("01")) << 12 << "01";
        QTest::newRow("nothing") << QVariant() << 12 << "";
    }

    void cellTextIsTheGeneralFormatOrTheTextAsItStands()
    {
        QFETCH(QVariant, value);
        QFETCH(int, digits);
        QFETCH(QString, text);
        QCOMPARE(TableExport::cellText(value, digits), text);
    }

    // Numbers stay doubles, so views render them as numbers; the file has
    // no corner field and 12 digits, a selection only its cells.
    void fileAndSelectionText()
    {
        const Model model = parameters();
        QCOMPARE(model->index(0, 1).data().typeId(), QMetaType::Double);
        QCOMPARE(TableExport::commaSeparated(*model), QString("Estimate,s.e.\nN,150,33.3333333333\np1,0.4,--na--\n"));
        QCOMPARE(TableExport::range(*model, QItemSelectionRange(model->index(0, 1), model->index(1, 1))),
                 QString("33.3333333333\n--na--\n"));
        QCOMPARE(TableExport::range(*model, QItemSelectionRange(model->index(0, 0), model->index(1, 1))),
                 QString("150\t33.3333333333\n0.4\t--na--\n"));
    }
};

QTEST_MAIN(TestResultTableModels)
#include "tst_resulttablemodels.moc"
