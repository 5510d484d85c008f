// The covariance matrix from the finite-difference Hessian, and the LU
// decomposition that inverts it.
#include "optim/HessianCalculator.h"
#include "optim/LUdcmp.h"
#include "optim/NRError.h"
#include "RecordingFunc.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

using optimtest::Point;
using optimtest::RecordingFunc;

namespace {

zav::Matrix fromRows(int rows, int columns, const QList<double> &rowMajor)
{
    zav::Matrix m(rows, columns);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j)
            m(i, j) = rowMajor[i * columns + j];
    return m;
}

zav::Matrix matrixOf(int n, const QList<double> &rowMajor)
{
    return fromRows(n, n, rowMajor);
}

bool isClose(const zav::Matrix &actual, const zav::Matrix &expected, double tolerance)
{
    if (actual.rows() != expected.rows() || actual.columns() != expected.columns())
        return false;
    for (int i = 0; i < actual.rows(); ++i)
        for (int j = 0; j < actual.columns(); ++j)
            if (!(std::fabs(actual(i, j) - expected(i, j)) <= tolerance))
                return false;
    return true;
}

// Expects `call` to throw NRError with exactly `message`.
template<typename Call>
bool throwsMessage(Call call, const char *message)
{
    try {
        call();
    } catch (const NR3::NRError &error) {
        return QByteArray(error.message) == message;
    }
    return false;
}

// Sum of (i + 1) x_i^2: Hessian diag(2, 4, 6, ...).
double weightedSquares(const Point &x)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i)
        sum += double(i + 1) * x[i] * x[i];
    return sum;
}

const char *const singularHessian = "Singular Hessian in calculating covariance matrix";
const char *const notPositiveDefinite = "Hessian not positive definite in calculating covariance matrix";

} // namespace

class TestCovariance : public QObject
{
    Q_OBJECT

private slots:
    void inverseMatchesTheExactInverse_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<double>>("matrix");
        QTest::addColumn<QList<double>>("inverse");
        QTest::newRow("1x1") << 1 << QList<double>{4.0} << QList<double>{0.25};
        QTest::newRow("2x2") << 2 << QList<double>{4.0, 7.0, 2.0, 6.0} << QList<double>{0.6, -0.7, -0.2, 0.4};
        QTest::newRow("permutation") << 2 << QList<double>{0.0, 1.0, 1.0, 0.0} << QList<double>{0.0, 1.0, 1.0, 0.0};
        QTest::newRow("zero first pivot")
            << 3 << QList<double>{0, 2, 1, 1, 1, 0, 2, 0, 3}
            << QList<double>{-3.0 / 8, 3.0 / 4, 1.0 / 8, 3.0 / 8, 1.0 / 4, -1.0 / 8, 1.0 / 4, -1.0 / 2, 1.0 / 4};
        QTest::newRow("tridiagonal")
            << 3 << QList<double>{2, -1, 0, -1, 2, -1, 0, -1, 2}
            << QList<double>{0.75, 0.5, 0.25, 0.5, 1.0, 0.5, 0.25, 0.5, 0.75};
        QTest::newRow("rows of very different scale")
            << 2 << QList<double>{1e-8, 3e-8, 2e6, 1e6} << QList<double>{-2e7, 6e-7, 4e7, -2e-7};
    }

    void inverseMatchesTheExactInverse()
    {
        QFETCH(int, n);
        QFETCH(QList<double>, matrix);
        QFETCH(QList<double>, inverse);
        const zav::Matrix a = matrixOf(n, matrix);
        zav::Matrix ainv(5, 1, 9.0); // resized by inverse()
        zav::LUdcmp(a).inverse(ainv);
        const zav::Matrix expected = matrixOf(n, inverse);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                QVERIFY(std::fabs(ainv(i, j) - expected(i, j)) <= 1e-14 * std::fmax(1.0, std::fabs(expected(i, j))));
    }

    void solvedVectorSatisfiesTheSystem_data()
    {
        QTest::addColumn<QList<double>>("b");
        QTest::newRow("general") << QList<double>{1.0, -2.0, 3.0};
        QTest::newRow("leading zeros") << QList<double>{0.0, 0.0, 5.0};
        QTest::newRow("zero in the middle") << QList<double>{0.0, 4.0, 0.0};
        QTest::newRow("all zero") << QList<double>{0.0, 0.0, 0.0};
    }

    void solvedVectorSatisfiesTheSystem()
    {
        QFETCH(QList<double>, b);
        const zav::Matrix a = matrixOf(3, {0, 2, 1, 1, 1, 0, 2, 0, 3});
        const zav::LUdcmp lu(a);
        Point x(3);
        lu.solve(Point(b.begin(), b.end()), x);
        for (int i = 0; i < 3; ++i) {
            const double ax = a(i, 0) * x[0] + a(i, 1) * x[1] + a(i, 2) * x[2];
            QVERIFY(std::fabs(ax - b[i]) <= 1e-14);
        }
        // Solving in place gives the same answer.
        Point inPlace(b.begin(), b.end());
        lu.solve(inPlace, inPlace);
        QCOMPARE(inPlace, x);
    }

    // The columns of B are A (1, 1), A (1, 0) and A (-2, 0.5).
    void solvesSeveralRightHandSidesAtOnce()
    {
        zav::Matrix x(2, 3);
        zav::LUdcmp(matrixOf(2, {4.0, 7.0, 2.0, 6.0})).solve(fromRows(2, 3, {11, 4, -4.5, 8, 2, -1}), x);
        QVERIFY(isClose(x, fromRows(2, 3, {1, 1, -2, 1, 0, 0.5}), 1e-14));
    }

    void zeroRowIsASingularMatrix_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<double>>("matrix");
        QTest::newRow("first row") << 2 << QList<double>{0.0, 0.0, 1.0, 2.0};
        QTest::newRow("last row") << 3 << QList<double>{1, 2, 3, 4, 5, 6, 0, 0, 0};
        QTest::newRow("1x1 zero") << 1 << QList<double>{0.0};
    }

    void zeroRowIsASingularMatrix()
    {
        QFETCH(int, n);
        QFETCH(QList<double>, matrix);
        const zav::Matrix a = matrixOf(n, matrix);
        QVERIFY(throwsMessage([&a] { zav::LUdcmp lu(a); }, "Singular matrix in LUdcmp"));
    }

    void mismatchedSizesAreRefused()
    {
        const zav::Matrix a = matrixOf(2, {4.0, 7.0, 2.0, 6.0});
        const zav::LUdcmp lu(a);
        const char *const badSizes = "LUdcmp::solve bad sizes";
        Point two(2), three(3);
        QVERIFY(throwsMessage([&] { lu.solve(three, two); }, badSizes));
        QVERIFY(throwsMessage([&] { lu.solve(two, three); }, badSizes));
        zav::Matrix twoByTwo(2, 2), threeByTwo(3, 2), twoByThree(2, 3);
        QVERIFY(throwsMessage([&] { lu.solve(threeByTwo, twoByTwo); }, badSizes));
        QVERIFY(throwsMessage([&] { lu.solve(twoByTwo, threeByTwo); }, badSizes));
        QVERIFY(throwsMessage([&] { lu.solve(twoByTwo, twoByThree); }, badSizes));
    }

    // Estimates near or at 0 are differenced with a step of at least 1e-5: a
    // step proportional to them would drown the second difference in the
    // rounding of an objective of size 100, or divide by zero.
    void covarianceOfAQuadraticIsItsInverseHessian_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("offset");
        QTest::newRow("(1, 2)") << 1.0 << 2.0 << 0.0;
        QTest::newRow("(0, 0)") << 0.0 << 0.0 << 0.0;
        QTest::newRow("near 0, objective of size 100") << 0.003 << -0.002 << 100.0;
        QTest::newRow("1e-9 and 0.5, objective of size 100") << 1e-9 << 0.5 << 100.0;
    }

    void covarianceOfAQuadraticIsItsInverseHessian()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, offset);
        RecordingFunc f([offset](const Point &p) { return offset + p[0] * p[0] + 3.0 * p[0] * p[1] + 5.0 * p[1] * p[1]; });
        zav::HessianCalculator calculator(nullptr, 1e-5);
        zav::Matrix covariance(2, 2), hessian(2, 2);

        calculator.computeCovariance(f, {x, y}, covariance, &hessian);

        QVERIFY(isClose(hessian, matrixOf(2, {2.0, 3.0, 3.0, 10.0}), 1e-3));
        QVERIFY(isClose(covariance, matrixOf(2, {10.0 / 11, -3.0 / 11, -3.0 / 11, 2.0 / 11}), 1e-3));
        QCOMPARE(hessian(0, 1), hessian(1, 0)); // mirrored, not measured twice
    }

    void hessianCostsTwoNSquaredPlusOneEvaluations_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("one") << 1;
        QTest::newRow("two") << 2;
        QTest::newRow("three") << 3;
        QTest::newRow("five") << 5;
    }

    void hessianCostsTwoNSquaredPlusOneEvaluations()
    {
        QFETCH(int, n);
        RecordingFunc f(weightedSquares);
        zav::HessianCalculator calculator(nullptr, 1e-5);
        zav::Matrix covariance(n, n);
        const Point estimates(std::size_t(n), 1.5);

        calculator.computeCovariance(f, estimates, covariance);

        QCOMPARE(f.callCount(), 2 * n * n + 1);
        zav::Matrix expected(n, n);
        for (int i = 0; i < n; ++i)
            expected(i, i) = 1.0 / (2.0 * (i + 1));
        QVERIFY(isClose(covariance, expected, 1e-4));
    }

    // 1e8 x^2 + 1e-8 y^2: a condition number of 1e16 that comes from the units
    // alone; the covariance is diag(0.5e-8, 0.5e8).
    void parametersOfVeryDifferentScalesAreNotSingular()
    {
        RecordingFunc f([](const Point &x) { return 1e8 * x[0] * x[0] + 1e-8 * x[1] * x[1]; });
        zav::HessianCalculator calculator(nullptr, 1e-5);
        zav::Matrix covariance(2, 2);

        calculator.computeCovariance(f, {1e-4, 1e4}, covariance);

        QVERIFY(std::fabs(covariance(0, 0) / 0.5e-8 - 1.0) < 1e-4);
        QVERIFY(std::fabs(covariance(1, 1) / 0.5e8 - 1.0) < 1e-4);
        QVERIFY(std::fabs(covariance(0, 1)) < 1e-6 * std::sqrt(covariance(0, 0) * covariance(1, 1)));
    }

    // -log(x) - log(1 - x) scaled, unusable (the cap) at x <= 0: at x = 1e-7
    // the step floor of 1e-5 would reach x < 0, so the step shrinks toward the
    // estimate's size and the curvature 1/x^2 + 1/(1 - x)^2 is measured.
    void stepShrinksToStayInsideTheDomain()
    {
        RecordingFunc f([](const Point &x) {
            if (x[0] <= 0.0 || x[0] >= 1.0)
                return std::numeric_limits<double>::max();
            return -std::log(x[0]) - std::log(1.0 - x[0]);
        });
        zav::HessianCalculator calculator(nullptr, 1e-5);
        zav::Matrix covariance(1, 1);

        calculator.computeCovariance(f, {1e-7}, covariance);

        const double curvature = 1.0 / (1e-7 * 1e-7) + 1.0 / ((1 - 1e-7) * (1 - 1e-7));
        QVERIFY2(std::fabs(covariance(0, 0) * curvature - 1.0) <= 1e-4, qPrintable(QString::number(covariance(0, 0))));
    }

    void unmeasurableOrSingularHessianIsRefused_data()
    {
        QTest::addColumn<int>("formula");
        QTest::addColumn<QList<double>>("estimates");
        QTest::addColumn<QList<double>>("measuredHessian"); // empty: not finite or not checked
        QTest::addColumn<QByteArray>("message");
        // 0: x^2 + y^2; 1: depends on x only; 2: infinite away from the point;
        // 3: (x + y - 2)^2 + 1e-12 (x - y)^2, a correlation of 1 - 1e-12 (0 at
        //    the estimates, so that rounding does not hide the tiny curvature);
        // 4: x^2 - y^2, a saddle; 5: -x^2 - y^2, a maximum.
        QTest::newRow("independent of one parameter") << 1 << QList<double>{2.0, 3.0} << QList<double>{2, 0, 0, 0}
                                                      << QByteArray(singularHessian);
        QTest::newRow("infinite nearby") << 2 << QList<double>{1.0, 1.0} << QList<double>{} << QByteArray(singularHessian);
        QTest::newRow("nearly collinear") << 3 << QList<double>{1.0, 1.0} << QList<double>{} << QByteArray(singularHessian);
        QTest::newRow("saddle") << 4 << QList<double>{0.0, 0.0} << QList<double>{2, 0, 0, -2}
                                << QByteArray(notPositiveDefinite);
        QTest::newRow("maximum") << 5 << QList<double>{0.5, 2.0} << QList<double>{-2, 0, 0, -2}
                                 << QByteArray(notPositiveDefinite);
    }

    void unmeasurableOrSingularHessianIsRefused()
    {
        QFETCH(int, formula);
        QFETCH(QList<double>, estimates);
        QFETCH(QList<double>, measuredHessian);
        QFETCH(QByteArray, message);
        RecordingFunc f([formula](const Point &x) {
            if (formula == 1)
                return x[0] * x[0];
            if (formula == 2 && x[0] > 1.0)
                return HUGE_VAL;
            if (formula == 3)
                return (x[0] + x[1] - 2.0) * (x[0] + x[1] - 2.0) + 1e-12 * (x[0] - x[1]) * (x[0] - x[1]);
            if (formula == 4)
                return x[0] * x[0] - x[1] * x[1];
            if (formula == 5)
                return -x[0] * x[0] - x[1] * x[1];
            double sum = 0.0;
            for (double xi : x)
                sum += xi * xi;
            return sum;
        });
        const int n = int(estimates.size());
        zav::HessianCalculator calculator(nullptr, 1e-5);
        zav::Matrix covariance(n, n, 7.0), hessian;

        QVERIFY(throwsMessage(
            [&] { calculator.computeCovariance(f, Point(estimates.begin(), estimates.end()), covariance, &hessian); },
            message.constData()));
        QCOMPARE(covariance, zav::Matrix(n, n, 7.0));
        // The Hessian is handed out before it is judged.
        QCOMPARE(hessian.rows(), n);
        if (!measuredHessian.isEmpty())
            QVERIFY(isClose(hessian, matrixOf(n, measuredHessian), 1e-3));
    }

    void cancelLeavesTheCovarianceUntouched_data()
    {
        QTest::addColumn<int>("cancelAtCall");
        QTest::newRow("before the run") << 0;
        QTest::newRow("at the centre value") << 1;
        QTest::newRow("in a diagonal pair") << 2;
        QTest::newRow("in an off-diagonal pair") << 5;
        QTest::newRow("at the last evaluation") << 2 * 3 * 3 + 1;
    }

    void cancelLeavesTheCovarianceUntouched()
    {
        QFETCH(int, cancelAtCall);
        RecordingFunc f(weightedSquares);
        f.flag = cancelAtCall == 0;
        f.raiseFlagAtCall = cancelAtCall;
        zav::HessianCalculator calculator(&f.flag, 1e-5);
        zav::Matrix covariance(3, 3, 7.0), hessian(3, 3, 7.0);

        calculator.computeCovariance(f, {1.0, 2.0, 3.0}, covariance, &hessian);

        QCOMPARE(covariance, zav::Matrix(3, 3, 7.0));
        QCOMPARE(hessian, zav::Matrix(3, 3, 7.0));
        // The flag is tested before every pair: at most the rest of a pair of
        // four evaluations follows it.
        QVERIFY(f.callCount() <= std::max(cancelAtCall, 1) + 3);
    }
};

QTEST_GUILESS_MAIN(TestCovariance)
#include "tst_covariance.moc"
