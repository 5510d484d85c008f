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
    return actual == expected || std::abs(actual - expected) <= 1e-12 * std::max(1.0, std::abs(expected));
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

// The model of that name, each with one likelihood, and its counts:
//  binomial (3 yes, 7 no) and "binomial 0 of 10" as above;
//  trinomial: A = a, B = b, C = 1 - a - b with counts 2, 5, 3;
//  two samples: caught in sample 1 only ("10", 30), in sample 2 only ("01",
//    20), in both ("11", 10), never caught (1 - p1)(1 - p2) with abundance N,
//    and the same with N = exp(logN) a convenience function;
//  survey: "seen" = 1 - q of count 5, unobserved q of abundance N (or of
//    "gone", which names nothing), and the same with "seen" = 0.5;
//  normal: observed 5, expected mu, standard error sigma.
TestModel modelNamed(const QByteArray &name, Counts &counts)
{
    if (name.startsWith("binomial")) {
        counts = name == "binomial" ? Counts{{"yes", 3}, {"no", 7}, {"never", 0}} : Counts{{"no", 10}};
        return binomial();
    }
    if (name == "trinomial") {
        TestModel model({"a", "b"});
        const int id = model.addMultinomial("three");
        model.addCategory(id, "A", "a");
        model.addCategory(id, "B", "b");
        model.addCategory(id, "C", "1 - a - b");
        counts = {{"A", 2}, {"B", 5}, {"C", 3}};
        return model;
    }
    if (name.startsWith("two samples")) {
        const bool function = name.endsWith("function");
        TestModel model({"p1", "p2", function ? "logN" : "N"});
        if (function)
            model.addFunction("N", "exp(logN)");
        const int id = model.addMultinomial("capture");
        model.addCategory(id, "10", "p1 * (1 - p2)");
        model.addCategory(id, "01", "(1 - p1) * p2");
        model.addCategory(id, "11", "p1 * p2");
        model.setUnobserved(id, "N", "(1 - p1) * (1 - p2)");
        counts = {{"10", 30}, {"01", 20}, {"11", 10}};
        return model;
    }
    if (name.startsWith("survey")) {
        TestModel model({"q", "N"});
        const int id = model.addMultinomial("survey");
        model.addCategory(id, "seen", name.endsWith("0.5") ? "0.5" : "1 - q");
        model.setUnobserved(id, name.endsWith("gone") ? "gone" : "N", "q");
        counts = {{"seen", 5}};
        return model;
    }
    TestModel model({"mu", "sigma"});
    model.addNormal("measurement", "5", "mu", "sigma");
    counts = {};
    return model;
}

double twoSampleLogLikelihood(double p1, double p2, double N)
{
    const double u = N - 60.0;
    return std::lgamma(N + 1) - std::lgamma(u + 1) - std::lgamma(31) - std::lgamma(21) - std::lgamma(11)
           + 30 * std::log(p1 * (1 - p2)) + 20 * std::log((1 - p1) * p2) + 10 * std::log(p1 * p2)
           + u * std::log((1 - p1) * (1 - p2));
}

double binomialObjective(double p)
{
    return -(std::lgamma(11) - std::lgamma(4) - std::lgamma(8) + 3 * std::log(p) + 7 * std::log(1 - p));
}

} // namespace

class TestLikelihoodFunction : public QObject
{
    Q_OBJECT

private slots:
    // The objective at a point against its closed form, also as the only
    // likelihood's own objective. A probability above 1 would give a
    // positive log-term and reward leaving the model (a log-likelihood above
    // 0); within 1e-12 it is rounding. Elements past the parameters are
    // ignored.
    void objectiveMatchesTheClosedForm_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<QList<double>>("point");
        QTest::addColumn<double>("objective");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const auto row = [](const char *name, const char *model, const QList<double> &point, double objective) {
            QTest::newRow(name) << QByteArray(model) << point << objective;
        };
        for (double p : {0.3, 0.5, 0.9})
            row(qPrintable(QString("binomial, p = %1").arg(p)), "binomial", {p}, binomialObjective(p));
        row("zero probability with a positive count", "binomial", {1.0}, infinity);
        row("1 - p = 1.5 with count 10", "binomial 0 of 10", {-0.5}, cap);
        row("1 - p = 1 + 1e-13 is rounding: it counts as 1", "binomial 0 of 10", {-1e-13}, 0.0);
        row("trinomial", "trinomial", {0.25, 0.45},
            -(std::lgamma(11) - std::lgamma(3) - std::lgamma(6) - std::lgamma(4) + 2 * std::log(0.25)
              + 5 * std::log(0.45) + 3 * std::log(0.3)));
        row("N = 100", "two samples", {0.4, 0.3, 100.0}, -twoSampleLogLikelihood(0.4, 0.3, 100.0));
        row("non-integer N = 87.25", "two samples", {0.6, 0.35, 87.25}, -twoSampleLogLikelihood(0.6, 0.35, 87.25));
        row("N = n: no unobserved count", "two samples", {0.5, 0.5, 60.0}, -twoSampleLogLikelihood(0.5, 0.5, 60.0));
        row("extra elements", "two samples", {0.4, 0.3, 100.0, -1e300, 5.0}, -twoSampleLogLikelihood(0.4, 0.3, 100.0));
        row("abundance a convenience function", "two samples, abundance a function", {0.4, 0.3, std::log(100.0)},
            -twoSampleLogLikelihood(0.4, 0.3, 100.0));
        row("unobserved q = 1.5 with u = 1", "survey, seen 0.5", {1.5, 6.0}, cap);
        row("unobserved q = 1.5 with u = 0 is not evaluated", "survey, seen 0.5", {1.5, 5.0}, -5 * std::log(0.5));
        row("N = n - 0.5", "survey", {0.5, 4.5}, cap);
        row("N = n and q = 0: 0 log 0 is NaN", "survey", {0.0, 5.0}, cap);
        row("N = n + 1 and q = 0: log 0 is -infinity", "survey", {0.0, 6.0}, infinity);
        row("N = NaN", "survey", {0.5, nan}, cap);
        row("N = n and q = 0.5: u log q is 0", "survey", {0.5, 5.0}, -(5 * std::log(0.5)));
        row("an abundance that names nothing", "survey, abundance gone", {0.5, 100.0}, cap);
        row("o = e: log(1/s) only", "normal", {5.0, 2.0}, -std::log(0.5));
        row("z = 1", "normal", {3.0, 2.0}, -(std::log(0.5) - 0.5));
        row("z = -2.5", "normal", {10.0, 2.0}, -(std::log(0.5) - 0.5 * 6.25));
        row("negative s: log of a negative is NaN", "normal", {5.0, -2.0}, cap);
        row("s = 0, o = e: 0/0 is NaN", "normal", {5.0, 0.0}, cap);
    }

    void objectiveMatchesTheClosedForm()
    {
        QFETCH(QByteArray, model);
        QFETCH(QList<double>, point);
        QFETCH(double, objective);
        Counts counts;
        TestModel built = modelNamed(model, counts);
        PelkLikelihoodFunc function(built.bound(), counts);
        // The per-likelihood objective reads the point of the last call.
        const std::vector<double> x(point.begin(), point.end());
        const double actual = function(x);
        QVERIFY2(closeTo(actual, objective), qPrintable(QString::number(actual, 'g', 17)));
        QVERIFY(closeTo(function.likelihoodObjective(0), objective));
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
    }

    // A simulated observation stands for the observed formula: z = (6.5 -
    // 3) / 2 in the value; by mu the derivative is -z/s, and the formula it
    // replaced receives none.
    void observedValueReplacesTheObservedFormula()
    {
        TestModel model = coinAndMeasurement();
        PelkLikelihoodFunc function(model.bound(), {{"yes", 3}, {"no", 7}});
        function.setObservedValue(1, 6.5);
        const std::vector<double> point{0.3, 3.0, 2.0};
        std::vector<double> gradient;
        function.valueAndGradient(point, gradient);
        QCOMPARE(function.likelihoodObjective(1), -(std::log(0.5) - 0.5 * 1.75 * 1.75));
        QVERIFY(closeTo(gradient[1], -1.75 / 2.0));
        QVERIFY(closeTo(gradient[2], -(1.75 * 1.75 - 1.0) / 2.0));
    }

    void fitStatisticsAtTheEstimates()
    {
        TestModel model = coinAndMeasurement();
        const Counts counts{{"yes", 3}, {"no", 7}};
        const std::vector<double> estimates{0.3, 5.0, 2.0};
        PelkLikelihoodFunc function(model.bound(), counts);
        const pelk::FitStatistics fit(model.bound(), function, estimates);

        const double coin = std::lgamma(11) - std::lgamma(4) - std::lgamma(8) + 3 * std::log(0.3) + 7 * std::log(0.7);
        const double measurement = std::log(0.5);
        QCOMPARE(fit.parameterCount(), 3);
        QVERIFY(closeTo(fit.logLikelihood(), coin + measurement));
        QVERIFY(closeTo(fit.aic(), 2 * 3 - 2 * (coin + measurement)));
        QCOMPARE(fit.likelihoodLogLikelihoods().size(), std::size_t(2));
        QVERIFY(closeTo(fit.likelihoodLogLikelihoods()[0], coin));
        QCOMPARE(fit.likelihoodLogLikelihoods()[1], measurement);
    }

    void fitStatisticsOfACappedObjective()
    {
        Counts none;
        TestModel model = modelNamed("normal", none);
        const std::vector<double> estimates{5.0, -1.0};
        PelkLikelihoodFunc function(model.bound(), Counts());
        const pelk::FitStatistics fit(model.bound(), function, estimates);
        QCOMPARE(fit.logLikelihood(), -cap);
        QCOMPARE(QString::number(fit.logLikelihood(), 'g', 6), QString("-1.79769e+308"));
        QCOMPARE(fit.likelihoodLogLikelihoods()[0], -cap);
    }
};

QTEST_APPLESS_MAIN(TestLikelihoodFunction)
#include "tst_likelihoodfunction.moc"
