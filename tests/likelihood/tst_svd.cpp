// The singular value decomposition: the factors reproduce the matrix, their
// columns are orthonormal, the singular values are the known ones in
// decreasing order, the sign rule, and the rank rule with its threshold.
#include "likelihood/SVD.h"
#include "optim/NRError.h"

#include <QTest>

#include <cmath>
#include <limits>

using zav::Matrix;
using zav::SVD;

Q_DECLARE_METATYPE(Matrix)

namespace {

Matrix fromRows(int rows, int columns, std::initializer_list<double> elements)
{
    Matrix a(rows, columns);
    auto it = elements.begin();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j)
            a(i, j) = *it++;
    return a;
}

double largestMagnitude(const Matrix &a)
{
    double largest = 0.0;
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < a.columns(); ++j)
            largest = std::max(largest, std::abs(a(i, j)));
    return largest;
}

// Dot product of column i of x and column j of y.
double columnDot(const Matrix &x, int i, const Matrix &y, int j)
{
    double sum = 0.0;
    for (int k = 0; k < x.rows(); ++k)
        sum += x(k, i) * y(k, j);
    return sum;
}

} // namespace

class TestSVD : public QObject
{
    Q_OBJECT

private slots:
    void decompositionHasTheDocumentedProperties_data()
    {
        QTest::addColumn<Matrix>("a");
        QTest::newRow("3x3 general") << fromRows(3, 3, {2, -1, 0.5, 4, 3, -2, -1, 0.25, 7});
        QTest::newRow("4x2 tall") << fromRows(4, 2, {1, 2, 3, 4, -5, 6, 7, -8});
        QTest::newRow("2x4 wide") << fromRows(2, 4, {1, -2, 3, 0.5, 4, 5, -6, 2});
        QTest::newRow("rank 2 of 3x3") << fromRows(3, 3, {1, 2, 3, 2, 4, 6, 1, 0, 1});
        QTest::newRow("equal rows") << fromRows(3, 2, {-1, -2, -1, -2, -1, -2});
        QTest::newRow("zero column") << fromRows(3, 3, {1, 0, 2, 3, 0, 4, 5, 0, 6});
        QTest::newRow("1x1 negative") << fromRows(1, 1, {-3});
        QTest::newRow("term design 3x4") << fromRows(3, 4, {1, 1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1});
        QTest::newRow("scaled 1e150") << fromRows(2, 2, {1e150, 2e150, -3e150, 5e149});
    }

    void decompositionHasTheDocumentedProperties()
    {
        QFETCH(Matrix, a);
        const SVD svd(a);
        const int m = a.rows();
        const int n = a.columns();
        const Matrix &u = svd.u();
        const Matrix &v = svd.v();
        const std::vector<double> &w = svd.w();
        QCOMPARE(u.rows(), m);
        QCOMPARE(u.columns(), n);
        QCOMPARE(v.rows(), n);
        QCOMPARE(v.columns(), n);
        QCOMPARE(int(w.size()), n);

        const double scale = largestMagnitude(a);
        for (int i = 0; i < m; ++i)
            for (int j = 0; j < n; ++j) {
                double sum = 0.0;
                for (int k = 0; k < n; ++k)
                    sum += u(i, k) * w[std::size_t(k)] * v(j, k);
                QVERIFY2(std::abs(sum - a(i, j)) <= 1e-14 * scale, qPrintable(QString::number(sum - a(i, j))));
            }

        for (int k = 0; k < n; ++k) {
            QVERIFY(w[std::size_t(k)] >= 0.0);
            if (k > 0)
                QVERIFY(w[std::size_t(k - 1)] >= w[std::size_t(k)]);
        }

        // V is orthogonal; the columns of U that belong to non-zero singular
        // values are orthonormal.
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                const double identity = i == j ? 1.0 : 0.0;
                QVERIFY(std::abs(columnDot(v, i, v, j) - identity) <= 1e-14);
                if (w[std::size_t(i)] > svd.threshold() && w[std::size_t(j)] > svd.threshold())
                    QVERIFY(std::abs(columnDot(u, i, u, j) - identity) <= 1e-14);
            }

        // At most half of the entries of each column pair are negative.
        for (int k = 0; k < n; ++k) {
            int negatives = 0;
            for (int i = 0; i < m; ++i)
                negatives += u(i, k) < 0.0;
            for (int j = 0; j < n; ++j)
                negatives += v(j, k) < 0.0;
            QVERIFY(2 * negatives <= m + n);
        }
    }

    void singularValuesMatchClosedForms_data()
    {
        QTest::addColumn<Matrix>("a");
        QTest::addColumn<std::vector<double>>("expected");
        const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
        QTest::newRow("diagonal, sorted by magnitude") << fromRows(3, 3, {3, 0, 0, 0, -5, 0, 0, 0, 1})
                                                       << std::vector<double>{5, 3, 1};
        QTest::newRow("shear: golden ratio") << fromRows(2, 2, {1, 1, 0, 1}) << std::vector<double>{phi, 1.0 / phi};
        QTest::newRow("[[3,0],[4,5]]") << fromRows(2, 2, {3, 0, 4, 5})
                                       << std::vector<double>{3.0 * std::sqrt(5.0), std::sqrt(5.0)};
        QTest::newRow("column vector (3,4)") << fromRows(2, 1, {3, 4}) << std::vector<double>{5};
        QTest::newRow("row vector (1,2,2), padded with zeros") << fromRows(1, 3, {1, 2, 2})
                                                               << std::vector<double>{3, 0, 0};
        QTest::newRow("equal rows of (1,1)") << fromRows(3, 2, {1, 1, 1, 1, 1, 1})
                                             << std::vector<double>{std::sqrt(6.0), 0};
    }

    void singularValuesMatchClosedForms()
    {
        QFETCH(Matrix, a);
        QFETCH(std::vector<double>, expected);
        const SVD svd(a);
        QCOMPARE(svd.w().size(), expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k)
            QVERIFY2(std::abs(svd.w()[k] - expected[k]) <= 1e-15 * std::max(1.0, expected[k]),
                     qPrintable(QString("w[%1] = %2").arg(k).arg(svd.w()[k], 0, 'g', 17)));
    }

    void columnPairWithMostlyNegativeEntriesIsNegated()
    {
        // (-1, -1)^T = u w v with |u| = (1, 1)/sqrt 2, w = sqrt 2, |v| = 1; two of
        // the three entries would be negative with u negative, so u is made
        // positive and v carries the sign.
        const SVD svd(fromRows(2, 1, {-1, -1}));
        QCOMPARE(svd.w()[0], std::sqrt(2.0));
        QVERIFY(svd.u()(0, 0) > 0.0);
        QVERIFY(svd.u()(1, 0) > 0.0);
        QCOMPARE(svd.v()(0, 0), -1.0);
    }

    void rankCountsSingularValuesAboveTheThreshold_data()
    {
        QTest::addColumn<Matrix>("a");
        QTest::addColumn<double>("thresh");
        QTest::addColumn<int>("rank");
        const Matrix diagonal = fromRows(3, 3, {3, 0, 0, 0, 2, 0, 0, 0, 1});
        QTest::newRow("all rows equal") << fromRows(3, 3, {1, 2, 3, 1, 2, 3, 1, 2, 3}) << -1.0 << 1;
        QTest::newRow("third row = first + second") << fromRows(3, 3, {1, 2, 0, 0, 1, 1, 1, 3, 1}) << -1.0 << 2;
        QTest::newRow("zero matrix") << Matrix(2, 3) << -1.0 << 0;
        QTest::newRow("identity 4") << Matrix::identity(4) << -1.0 << 4;
        QTest::newRow("wide, full row rank") << fromRows(2, 3, {1, 0, 1, 0, 1, 1}) << -1.0 << 2;
        QTest::newRow("1e-20 is rounding noise next to 1") << fromRows(3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1e-20}) << -1.0 << 2;
        QTest::newRow("1e-12 is not rounding noise") << fromRows(2, 2, {1, 0, 0, 1e-12}) << -1.0 << 2;
        QTest::newRow("threshold 1.5") << diagonal << 1.5 << 2;
        QTest::newRow("threshold 0") << diagonal << 0.0 << 3;
        QTest::newRow("threshold equal to a value excludes it") << diagonal << 2.0 << 1;
        QTest::newRow("threshold equal to the largest") << diagonal << 3.0 << 0;
    }

    void rankCountsSingularValuesAboveTheThreshold()
    {
        QFETCH(Matrix, a);
        QFETCH(double, thresh);
        QFETCH(int, rank);
        QCOMPARE(SVD(a).rank(thresh), rank);
    }

    void defaultThresholdScalesWithTheLargestSingularValue()
    {
        const SVD svd(fromRows(2, 2, {0, 1, 4, 0}));
        QCOMPARE(svd.threshold(), 0.5 * std::sqrt(5.0) * 4.0 * 2.220446049250313e-16);
    }

    void emptyMatrixHasRankZero_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::newRow("0x0") << 0 << 0;
        QTest::newRow("0x3: no categories") << 0 << 3;
        QTest::newRow("3x0: only constant probabilities") << 3 << 0;
    }

    void emptyMatrixHasRankZero()
    {
        QFETCH(int, rows);
        QFETCH(int, columns);
        const SVD svd(Matrix(rows, columns));
        QCOMPARE(svd.rank(), 0);
        QCOMPARE(svd.rank(0.0), 0);
        QCOMPARE(int(svd.w().size()), columns);
        QCOMPARE(svd.threshold(), 0.0);
    }

    void unusableMatrixThrowsTheConvergenceError_data()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::addColumn<Matrix>("a");
        QTest::newRow("1x1 NaN") << fromRows(1, 1, {nan});
        QTest::newRow("NaN in a 2x2") << fromRows(2, 2, {1, 2, nan, 4});
        QTest::newRow("infinity in a 2x3") << fromRows(2, 3, {1, 2, 3, 4, -inf, 6});
        // The QR shift squares singular values, which overflows beyond 1e154.
        QTest::newRow("finite entries near 1e200") << fromRows(2, 2, {1e200, 2e200, -3e200, 5e199});
    }

    void unusableMatrixThrowsTheConvergenceError()
    {
        QFETCH(Matrix, a);
        try {
            SVD svd(a);
            QFAIL("no exception");
        } catch (const NR3::NRError &error) {
            QCOMPARE(QString(error.message), QString("no convergence in 30 svdcmp iterations"));
        }
    }
};

QTEST_APPLESS_MAIN(TestSVD)
#include "tst_svd.moc"
