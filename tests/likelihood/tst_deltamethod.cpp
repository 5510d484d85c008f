// Delta-method variance grad f^T Cov grad f against analytic gradients.
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
    for (int i = 0; i < bound.parameterCount(); ++i)
        bound.parameter(i)->setValues(&estimates);
    return pelk::deltaMethodVariance(*bound.variableEquation(0), bound, cov, ok);
}

} // namespace

class TestDeltaMethod : public QObject
{
    Q_OBJECT

private slots:
    // The variance from the analytic gradient; an empty gradient: not
    // available, with what was added up to the refusal.
    void varianceMatchesTheAnalyticGradient_data()
    {
        // At a = 2, b = 3, c = 0.5.
        const double a = 2.0;
        const double b = 3.0;
        QTest::addColumn<QString>("function");
        QTest::addColumn<int>("covarianceSize"); // 0: none
        QTest::addColumn<std::vector<double>>("gradient");
        QTest::addColumn<double>("refused");
        QTest::newRow("f = a: the variance of a") << "a" << 3 << std::vector<double>{1, 0, 0} << 0.0;
        QTest::newRow("f = a*b") << "a * b" << 3 << std::vector<double>{b, a, 0} << 0.0;
        QTest::newRow("f = a/(a+b)") << "a / (a + b)" << 3
                                     << std::vector<double>{b / ((a + b) * (a + b)), -a / ((a + b) * (a + b)), 0} << 0.0;
        QTest::newRow("f = c*a: a pair that is not adjacent") << "c * a" << 3 << std::vector<double>{0.5, 0, a} << 0.0;
        QTest::newRow("f = exp(b)") << "exp(b)" << 3 << std::vector<double>{0, std::exp(b), 0} << 0.0;
        QTest::newRow("no covariance") << "a * b" << 0 << std::vector<double>() << 0.0;
        // Left from a model that had two parameters.
        QTest::newRow("a covariance of another size") << "a * b" << 2 << std::vector<double>() << 0.0;
        // Refused at the first parameter: nothing accumulated.
        QTest::newRow("a^a") << "a ^ a" << 3 << std::vector<double>() << 0.0;
        // Parameter a passes with derivative 2 (d_a^2 Var a = 0.16); b is
        // refused in the inner loop and then in the outer one.
        QTest::newRow("2*a + b^b") << "2 * a + b ^ b" << 3 << std::vector<double>() << 4 * 0.04;
    }

    void varianceMatchesTheAnalyticGradient()
    {
        QFETCH(QString, function);
        QFETCH(int, covarianceSize);
        QFETCH(std::vector<double>, gradient);
        QFETCH(double, refused);
        const zav::Matrix cov = covarianceSize == 3 ? covariance() : zav::Matrix::identity(2);
        bool ok = gradient.empty();
        const double variance = varianceAtEstimates(function, covarianceSize ? &cov : nullptr, ok);
        QCOMPARE(ok, !gradient.empty());
        const double expected = gradient.empty() ? refused : quadraticForm(gradient);
        QVERIFY2(std::abs(variance - expected) <= 1e-14 * expected,
                 qPrintable(QString("%1 vs %2").arg(variance, 0, 'g', 17).arg(expected, 0, 'g', 17)));
    }
};

QTEST_APPLESS_MAIN(TestDeltaMethod)
#include "tst_deltamethod.moc"
