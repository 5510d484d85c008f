// The negative log-likelihood against closed forms written with lgamma:
// multinomial, multinomial with an unobserved category, normal, several
// likelihoods; the cap for unusable points; the fit statistics.
#include "TestModel.h"

#include "likelihood/FitStatistics.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "optim/NRError.h"

#include <QTest>

#include <cmath>
#include <limits>

using pelk::PelkLikelihoodFunc;
using Counts = QMap<QString, int>;

namespace {

const double cap = 1.7976931348623157e308;
const double infinity = std::numeric_limits<double>::infinity();

bool closeTo(double actual, double expected)
{
    return std::abs(actual - expected) <= 1e-12 * std::max(1.0, std::abs(expected));
}

// Categories "yes" = p and "no" = 1 - p, plus "never" = log(-1), a NaN
// that must never be evaluated because "never" has a zero count.
TestModel binomial()
{
    TestModel model({"p"});
    const int id = model.addMultinomial("coin");
    model.addCategory(id, "yes", "p");
    model.addCategory(id, "no", "1 - p");
    model.addCategory(id, "never", "log(-1)");
    return model;
}

// Two-sample closed population: caught in sample 1 only ("10"), in sample 2
// only ("01"), in both ("11"); never caught (1 - p1)(1 - p2); abundance N.
TestModel twoSample()
{
    TestModel model({"p1", "p2", "N"});
    const int id = model.addMultinomial("capture");
    model.addCategory(id, "10", "p1 * (1 - p2)");
    model.addCategory(id, "01", "(1 - p1) * p2");
    model.addCategory(id, "11", "p1 * p2");
    model.setUnobserved(id, "N", "(1 - p1) * (1 - p2)");
    return model;
}

const Counts twoSampleCounts{{"10", 30}, {"01", 20}, {"11", 10}};

double twoSampleLogLikelihood(double p1, double p2, double N)
{
    const double u = N - 60.0;
    return std::lgamma(N + 1) - std::lgamma(u + 1) - std::lgamma(31) - std::lgamma(21) - std::lgamma(11)
           + 30 * std::log(p1 * (1 - p2)) + 20 * std::log((1 - p1) * p2) + 10 * std::log(p1 * p2)
           + u * std::log((1 - p1) * (1 - p2));
}

// Observed 5, expected mu, standard error sigma.
TestModel normal()
{
    TestModel model({"mu", "sigma"});
    model.addNormal("measurement", "5", "mu", "sigma");
    return model;
}

} // namespace

class TestLikelihoodFunction : public QObject
{
    Q_OBJECT

private slots:
    void binomialMatchesTheClosedForm_data()
    {
        QTest::addColumn<double>("p");
        for (double p : {0.3, 0.5, 0.9})
            QTest::newRow(qPrintable(QString("p = %1").arg(p))) << p;
    }

    void binomialMatchesTheClosedForm()
    {
        QFETCH(double, p);
        TestModel model = binomial();
        PelkLikelihoodFunc function(model.bound(), {{"yes", 3}, {"no", 7}, {"never", 0}});
        const double expected
            = -(std::lgamma(11) - std::lgamma(4) - std::lgamma(8) + 3 * std::log(p) + 7 * std::log(1 - p));
        const double actual = function({p});
        QVERIFY2(closeTo(actual, expected), qPrintable(QString::number(actual, 'g', 17)));
    }

    void trinomialMatchesTheClosedForm()
    {
        TestModel model({"a", "b"});
        const int id = model.addMultinomial("three");
        model.addCategory(id, "A", "a");
        model.addCategory(id, "B", "b");
        model.addCategory(id, "C", "1 - a - b");
        PelkLikelihoodFunc function(model.bound(), {{"A", 2}, {"B", 5}, {"C", 3}});
        const double a = 0.25;
        const double b = 0.45;
        const double expected = -(std::lgamma(11) - std::lgamma(3) - std::lgamma(6) - std::lgamma(4)
                                  + 2 * std::log(a) + 5 * std::log(b) + 3 * std::log(1 - a - b));
        QVERIFY(closeTo(function({a, b}), expected));
    }

    void zeroProbabilityWithAPositiveCountGivesInfinity()
    {
        TestModel model = binomial();
        PelkLikelihoodFunc function(model.bound(), {{"yes", 3}, {"no", 7}, {"never", 0}});
        QCOMPARE(function({1.0}), infinity);
    }

    void missingCountLabelCountsAsZero()
    {
        TestModel model = binomial();
        pelk::ModelDefinition &bound = model.bound();
        PelkLikelihoodFunc withZero(bound, {{"yes", 3}, {"no", 7}, {"never", 0}});
        PelkLikelihoodFunc withoutEntry(bound, {{"yes", 3}, {"no", 7}});
        QCOMPARE(withoutEntry({0.3}), withZero({0.3}));
    }

    void negativeCountThrowsFromTheConstructor()
    {
        TestModel model = binomial();
        pelk::ModelDefinition &bound = model.bound();
        try {
            PelkLikelihoodFunc function(bound, {{"yes", -1}, {"no", 7}});
            QFAIL("no exception");
        } catch (const NR3::NRError &error) {
            QCOMPARE(QString(error.message), QString("bad arg in gammln"));
        }
    }

    void unobservedCategoryMatchesTheClosedForm_data()
    {
        QTest::addColumn<double>("p1");
        QTest::addColumn<double>("p2");
        QTest::addColumn<double>("N");
        QTest::newRow("N = 100") << 0.4 << 0.3 << 100.0;
        QTest::newRow("non-integer N = 87.25") << 0.6 << 0.35 << 87.25;
        QTest::newRow("N = n: no unobserved count") << 0.5 << 0.5 << 60.0;
    }

    void unobservedCategoryMatchesTheClosedForm()
    {
        QFETCH(double, p1);
        QFETCH(double, p2);
        QFETCH(double, N);
        TestModel model = twoSample();
        PelkLikelihoodFunc function(model.bound(), twoSampleCounts);
        const double actual = function({p1, p2, N});
        const double expected = -twoSampleLogLikelihood(p1, p2, N);
        QVERIFY2(closeTo(actual, expected),
                 qPrintable(QString("%1 vs %2").arg(actual, 0, 'g', 17).arg(expected, 0, 'g', 17)));
    }

    // "seen" = s with count 5 and, unless N is NaN, an unobserved category q of
    // abundance N; otherwise "yes" = p with count 0 and "no" = 1 - p with count 10.
    // A probability above 1 would give a positive log-term and reward leaving
    // the model (a log-likelihood above 0); within 1e-12 it is rounding.
    void probabilityAboveOneIsUnusable_data()
    {
        QTest::addColumn<double>("p");
        QTest::addColumn<double>("N");
        QTest::addColumn<double>("objective");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("1 - p = 1.5 with count 10") << -0.5 << nan << cap;
        QTest::newRow("1 - p = 1 + 1e-13 is rounding: it counts as 1") << -1e-13 << nan << 0.0;
        QTest::newRow("unobserved q = 1.5 with u = 1") << 1.5 << 6.0 << cap;
        QTest::newRow("unobserved q = 1.5 with u = 0 is not evaluated") << 1.5 << 5.0 << -5 * std::log(0.5);
    }

    void probabilityAboveOneIsUnusable()
    {
        QFETCH(double, p);
        QFETCH(double, N);
        QFETCH(double, objective);
        if (std::isnan(N)) {
            TestModel model = binomial();
            PelkLikelihoodFunc function(model.bound(), {{"yes", 0}, {"no", 10}, {"never", 0}});
            QCOMPARE(function({p}), objective);
            return;
        }
        TestModel model({"q", "N"});
        const int id = model.addMultinomial("survey");
        model.addCategory(id, "seen", "0.5");
        model.setUnobserved(id, "N", "q");
        PelkLikelihoodFunc function(model.bound(), {{"seen", 5}});
        QVERIFY(closeTo(function({p, N}), objective));
    }

    void unusableAbundanceGivesTheCap_data()
    {
        // One observed category "seen" = 1 - q of count 5, unobserved q.
        QTest::addColumn<double>("q");
        QTest::addColumn<double>("N");
        QTest::addColumn<double>("objective");
        QTest::newRow("N = n - 0.5") << 0.5 << 4.5 << cap;
        QTest::newRow("N = n and q = 0: 0 log 0 is NaN") << 0.0 << 5.0 << cap;
        QTest::newRow("N = n + 1 and q = 0: log 0 is -infinity") << 0.0 << 6.0 << infinity;
        QTest::newRow("N = NaN") << 0.5 << std::numeric_limits<double>::quiet_NaN() << cap;
        QTest::newRow("N = n and q = 0.5: u log q is 0") << 0.5 << 5.0 << -(5 * std::log(0.5));
    }

    void unusableAbundanceGivesTheCap()
    {
        QFETCH(double, q);
        QFETCH(double, N);
        QFETCH(double, objective);
        TestModel model({"q", "N"});
        const int id = model.addMultinomial("survey");
        model.addCategory(id, "seen", "1 - q");
        model.setUnobserved(id, "N", "q");
        PelkLikelihoodFunc function(model.bound(), {{"seen", 5}});
        // The per-likelihood objective reads the point of the last call.
        const std::vector<double> point{q, N};
        QCOMPARE(function(point), objective);
        QCOMPARE(function.likelihoodObjective(0), objective);
    }

    void abundanceMayBeAConvenienceFunction()
    {
        TestModel model({"p1", "p2", "logN"});
        model.addFunction("N", "exp(logN)");
        const int id = model.addMultinomial("capture");
        model.addCategory(id, "10", "p1 * (1 - p2)");
        model.addCategory(id, "01", "(1 - p1) * p2");
        model.addCategory(id, "11", "p1 * p2");
        model.setUnobserved(id, "N", "(1 - p1) * (1 - p2)");
        PelkLikelihoodFunc function(model.bound(), twoSampleCounts);
        QVERIFY(closeTo(function({0.4, 0.3, std::log(100.0)}), -twoSampleLogLikelihood(0.4, 0.3, 100.0)));
    }

    void abundanceThatNamesNothingGivesTheCap()
    {
        TestModel model({"q"});
        const int id = model.addMultinomial("survey");
        model.addCategory(id, "seen", "1 - q");
        model.setUnobserved(id, "gone", "q");
        PelkLikelihoodFunc function(model.bound(), {{"seen", 5}});
        QCOMPARE(function({0.5}), cap);
    }

    void normalLikelihoodMatchesTheClosedForm_data()
    {
        QTest::addColumn<double>("mu");
        QTest::addColumn<double>("sigma");
        QTest::addColumn<double>("objective");
        QTest::newRow("o = e: log(1/s) only") << 5.0 << 2.0 << -std::log(0.5);
        QTest::newRow("z = 1") << 3.0 << 2.0 << -(std::log(0.5) - 0.5);
        QTest::newRow("z = -2.5") << 10.0 << 2.0 << -(std::log(0.5) - 0.5 * 6.25);
        QTest::newRow("negative s: log of a negative is NaN") << 5.0 << -2.0 << cap;
        QTest::newRow("s = 0, o = e: 0/0 is NaN") << 5.0 << 0.0 << cap;
    }

    void normalLikelihoodMatchesTheClosedForm()
    {
        QFETCH(double, mu);
        QFETCH(double, sigma);
        QFETCH(double, objective);
        TestModel model = normal();
        PelkLikelihoodFunc function(model.bound(), {});
        QCOMPARE(function({mu, sigma}), objective);
    }

    void extraElementsOfThePointAreIgnored()
    {
        TestModel model = twoSample();
        PelkLikelihoodFunc function(model.bound(), twoSampleCounts);
        const double exact = function({0.4, 0.3, 100.0});
        QCOMPARE(function({0.4, 0.3, 100.0, 17.0}), exact);
        QCOMPARE(function({0.4, 0.3, 100.0, -1e300, 5.0}), exact);
    }

    void likelihoodsAreSummedAndGuardedOneByOne()
    {
        TestModel model = coinAndMeasurement();
        PelkLikelihoodFunc function(model.bound(), {{"yes", 3}, {"no", 7}});

        const double coin = -(std::lgamma(11) - std::lgamma(4) - std::lgamma(8) + 3 * std::log(0.3) + 7 * std::log(0.7));
        const double measurement = -(std::log(0.5) - 0.5);
        const std::vector<double> usable{0.3, 3.0, 2.0};
        QVERIFY(closeTo(function(usable), coin + measurement));
        QVERIFY(closeTo(function.likelihoodObjective(0), coin));
        QCOMPARE(function.likelihoodObjective(1), measurement);

        // A NaN in one likelihood caps the total but not the other one.
        const std::vector<double> negativeSigma{0.3, 3.0, -2.0};
        QCOMPARE(function(negativeSigma), cap);
        QVERIFY(closeTo(function.likelihoodObjective(0), coin));
        QCOMPARE(function.likelihoodObjective(1), cap);

        bool invalid = false;
        QVERIFY(std::isnan(function.logLikelihood(1, invalid)));
        QVERIFY(!invalid);
    }

    void fitStatisticsAtTheEstimates()
    {
        TestModel model = coinAndMeasurement();
        const Counts counts{{"yes", 3}, {"no", 7}};
        const std::vector<double> estimates{0.3, 5.0, 2.0};
        const pelk::FitStatistics fit(model.bound(), counts, estimates);

        const double coin = std::lgamma(11) - std::lgamma(4) - std::lgamma(8) + 3 * std::log(0.3) + 7 * std::log(0.7);
        const double measurement = std::log(0.5);
        QCOMPARE(fit.parameterCount(), 3);
        QVERIFY(closeTo(fit.logLikelihood(), coin + measurement));
        QVERIFY(closeTo(fit.aic(), 2 * 3 - 2 * (coin + measurement)));
        QCOMPARE(fit.likelihoodLogLikelihoods().size(), std::size_t(2));
        QVERIFY(closeTo(fit.likelihoodLogLikelihoods()[0], coin));
        QCOMPARE(fit.likelihoodLogLikelihoods()[1], measurement);

        // Given an objective, the statistics use it and leave the parameters at
        // the estimates.
        PelkLikelihoodFunc function(model.bound(), counts);
        const pelk::FitStatistics same(model.bound(), function, estimates);
        QCOMPARE(same.logLikelihood(), fit.logLikelihood());
        QCOMPARE(model.bound().parameter(0)->evaluate(), 0.3);
    }

    void fitStatisticsOfACappedObjective()
    {
        TestModel model = normal();
        const std::vector<double> estimates{5.0, -1.0};
        const pelk::FitStatistics fit(model.bound(), Counts(), estimates);
        QCOMPARE(fit.logLikelihood(), -cap);
        QCOMPARE(QString::number(fit.logLikelihood(), 'g', 6), QString("-1.79769e+308"));
        QCOMPARE(fit.likelihoodLogLikelihoods()[0], -cap);
    }
};

QTEST_APPLESS_MAIN(TestLikelihoodFunction)
#include "tst_likelihoodfunction.moc"
