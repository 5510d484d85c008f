// Delta-method variance grad f^T Cov grad f against analytic gradients,
// u^v with a parameter on both sides included.
#include "TestModel.h"

#include "likelihood/DeltaMethod.h"
#include "optim/Matrix.h"

#include <QTest>

#include <cmath>

namespace {

// Covariance of (a, b, c): variances 0.04, 0.09, 0.25; Cov(a,b) = 0.012,
// Cov(a,c) = -0.02, Cov(b,c) = 0.03.
zav::Matrix covariance()
{
    zav::Matrix cov(3, 3);
    const double elements[3][3] = {{0.04, 0.012, -0.02}, {0.012, 0.09, 0.03}, {-0.02, 0.03, 0.25}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            cov(i, j) = elements[i][j];
    return cov;
}

// g^T Cov g for a gradient g over (a, b, c).
double quadraticForm(const std::vector<double> &g)
{
    const zav::Matrix cov = covariance();
    double sum = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            sum += g[std::size_t(i)] * cov(i, j) * g[std::size_t(j)];
    return sum;
}

// The variance of f over the parameters (a, b, c) at a = 2, b = 3, c = 0.5.
double varianceAtEstimates(const QString &function, const zav::Matrix *cov, bool &ok)
{
    TestModel model({"a", "b", "c"});
    model.addFunction("f", function);
    pelk::ModelDefinition &bound = model.bound();
    const std::vector<double> estimates{2.0, 3.0, 0.5};
    return pelk::deltaMethodVariance(*bound.variableEquation(0), estimates, cov, ok);
}

} // namespace

class TestDeltaMethod : public QObject
{
    Q_OBJECT

private slots:
    // The variance from the analytic gradient, u^v with a parameter on both
    // sides included; an empty gradient: not available (no variance).
    void varianceMatchesTheAnalyticGradient_data()
    {
        // At a = 2, b = 3, c = 0.5.
        const double a = 2.0;
        const double b = 3.0;
        QTest::addColumn<QString>("function");
        QTest::addColumn<int>("covarianceSize"); // 0: none
        QTest::addColumn<std::vector<double>>("gradient");
        QTest::newRow("f = a: the variance of a") << "a" << 3 << std::vector<double>{1, 0, 0};
        QTest::newRow("f = a*b") << "a * b" << 3 << std::vector<double>{b, a, 0};
        QTest::newRow("f = a/(a+b)") << "a / (a + b)" << 3
                                     << std::vector<double>{b / ((a + b) * (a + b)), -a / ((a + b) * (a + b)), 0};
        QTest::newRow("f = c*a: a pair that is not adjacent") << "c * a" << 3 << std::vector<double>{0.5, 0, a};
        QTest::newRow("f = exp(b)") << "exp(b)" << 3 << std::vector<double>{0, std::exp(b), 0};
        QTest::newRow("no covariance") << "a * b" << 0 << std::vector<double>();
        // Left from a model that had two parameters.
        QTest::newRow("a covariance of another size") << "a * b" << 2 << std::vector<double>();
        // d a^a / da = a^a (ln a + 1).
        QTest::newRow("f = a^a") << "a ^ a" << 3 << std::vector<double>{4 * (std::log(a) + 1), 0, 0};
        QTest::newRow("f = a^b") << "a ^ b" << 3 << std::vector<double>{b * 4, 8 * std::log(a), 0};
        // f = (ab)^(ca) = 6 here; log f = ca log(ab), so df/da = f (c log(ab) + c),
        // df/db = f ca/b, df/dc = f a log(ab).
        QTest::newRow("f = (a*b)^(c*a)") << "(a * b) ^ (c * a)" << 3
                                         << std::vector<double>{6 * (0.5 * std::log(6.0) + 0.5), 2, 12 * std::log(6.0)};
    }

    void varianceMatchesTheAnalyticGradient()
    {
        QFETCH(QString, function);
        QFETCH(int, covarianceSize);
        QFETCH(std::vector<double>, gradient);
        const zav::Matrix cov = covarianceSize == 3 ? covariance() : zav::Matrix::identity(2);
        bool ok = gradient.empty();
        const double variance = varianceAtEstimates(function, covarianceSize ? &cov : nullptr, ok);
        QCOMPARE(ok, !gradient.empty());
        const double expected = gradient.empty() ? 0.0 : quadraticForm(gradient);
        QVERIFY2(std::abs(variance - expected) <= 1e-13 * expected,
                 qPrintable(QString("%1 vs %2").arg(variance, 0, 'g', 17).arg(expected, 0, 'g', 17)));
    }
};

QTEST_APPLESS_MAIN(TestDeltaMethod)
#include "tst_deltamethod.moc"
