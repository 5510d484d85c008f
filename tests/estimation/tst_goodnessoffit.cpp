// The statistics of a model as a whole: sample size, AICc, BIC, the
// goodness of fit with its degrees of freedom, and the data fingerprint.
// Expected values are computed here from closed-form estimates (binomial,
// Hardy-Weinberg), and the chi-squared tails from their closed forms for 1
// and 2 degrees of freedom, erfc(sqrt(x/2)) and exp(-x/2).
#include "EstimationFixture.h"

#include "../support/BinomialWorkspace.h"
#include "../support/TempFiles.h"

#include "estimation/EstimationSummary.h"
#include "likelihood/GoodnessOfFit.h"

#include <QTest>

#include <cmath>

namespace {

using Cells = std::vector<pelk::GoodnessOfFit::MultinomialCells>;

double g2(const std::vector<double> &observed, const std::vector<double> &expected)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < observed.size(); ++i)
        sum += observed[i] > 0 ? 2 * observed[i] * std::log(observed[i] / expected[i]) : 0.0;
    return sum;
}

double x2(const std::vector<double> &observed, const std::vector<double> &expected)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < observed.size(); ++i)
        sum += (observed[i] - expected[i]) * (observed[i] - expected[i]) / expected[i];
    return sum;
}

// Genotype counts AA 30, Aa 50, aa 20 under Hardy-Weinberg proportions, the
// allele frequency p written as given; the maximum is at p = 110/200.
support::Binomial hardyWeinbergModel(const QString &parameters, const QString &p)
{
    support::Binomial model;
    model.parameters = parameters;
    model.variables = QStringLiteral("p = ") + p;
    model.categories = QStringLiteral("AA, p^2,\nAa, 2*p*(1-p),\naa, (1-p)^2");
    model.seeds = parameters.contains(u'z') ? QStringLiteral("q = 0.5, z = 1") : QStringLiteral("q = 0.5");
    model.counts = QStringLiteral("AA : 30\nAa : 50\naa : 20");
    return model;
}

} // namespace

class TestGoodnessOfFit : public QObject
{
    Q_OBJECT

    // Runs the workspace (also when it has more parameters than the
    // estimability check allows) and returns its summary.
    static pelk::EstimationSummary summaryOf(const QString &text)
    {
        EstimationFixture fixture(text);
        fixture.check();
        QSignalSpy finished(&fixture.sequence, &pelk::EstimationSequence::finished);
        fixture.start();
        if (!fixture.finish(finished) || !fixture.results.parametersEstimated)
            qFatal("the estimation did not finish");
        return pelk::EstimationSummary::compute(fixture.workspace, fixture.results);
    }

private slots:
    void hardyWeinberg_data()
    {
        QTest::addColumn<QString>("parameters");
        QTest::addColumn<QString>("p");
        QTest::addColumn<int>("df");
        QTest::newRow("one parameter") << "q" << "q" << 1;
        // The second parameter enters as 0*z: its Hessian row is exactly 0,
        // the rank 1, and the test keeps its degree of freedom.
        QTest::newRow("rank-deficient Hessian") << "q, z" << "q + 0*z" << 1;
    }

    void hardyWeinberg()
    {
        QFETCH(QString, parameters);
        QFETCH(QString, p);
        QFETCH(int, df);
        const pelk::EstimationSummary summary = summaryOf(hardyWeinbergModel(parameters, p).text());
        const double q = 110.0 / 200.0;
        const std::vector<double> observed {30, 50, 20}, expected {100 * q * q, 200 * q * (1 - q), 100 * (1 - q) * (1 - q)};
        const pelk::GoodnessOfFit &fit = summary.goodnessOfFit;
        QVERIFY2(fit.reason.isEmpty(), qPrintable(fit.reason));
        QCOMPARE(fit.df, std::optional<int>(df));
        QVERIFY(std::abs(*fit.deviance - g2(observed, expected)) < 1e-6);
        QVERIFY(std::abs(*fit.pearson - x2(observed, expected)) < 1e-6);
        QVERIFY(std::abs(*fit.devianceP - std::erfc(std::sqrt(*fit.deviance / 2))) < 1e-12);
        QVERIFY(std::abs(*fit.pearsonP - std::erfc(std::sqrt(*fit.pearson / 2))) < 1e-12);
        QCOMPARE(*fit.chat, *fit.pearson / df);
        QVERIFY(fit.warning.isEmpty());

        const int k = summary.parameterCount;
        QCOMPARE(summary.sampleSize, 100.0);
        QCOMPARE(*summary.aicc, summary.aic + 2.0 * k * (k + 1) / (100 - k - 1));
        QCOMPARE(*summary.bic, k * std::log(100.0) - 2 * summary.logLikelihood);
    }

    // The two-sample capture study: with one capture probability (N, p) a
    // degree of freedom is left; with two the model is saturated.
    void captureDegreesOfFreedom_data()
    {
        QTest::addColumn<QString>("probabilities");
        QTest::addColumn<std::optional<int>>("df");
        QTest::newRow("one p") << "p1 = p, p2 = p" << std::optional<int>(1);
        QTest::newRow("two p") << "p1 = a, p2 = b" << std::optional<int>();
    }

    void captureDegreesOfFreedom()
    {
        QFETCH(QString, probabilities);
        QFETCH(std::optional<int>, df);
        support::Binomial model;
        model.parameters = df ? QStringLiteral("N, p") : QStringLiteral("N, a, b");
        model.variables = probabilities;
        model.categories = QStringLiteral("10, p1*(1-p2),\n01, (1-p1)*p2,\n11, p1*p2,\n, (1-p1)*(1-p2), N");
        model.seeds = df ? QStringLiteral("N = 120, p = 0.5") : QStringLiteral("N = 120, a = 0.5, b = 0.4");
        model.counts = QStringLiteral("10 : 40\n01 : 30\n11 : 20");
        const pelk::EstimationSummary summary = summaryOf(model.text());
        QCOMPARE(summary.sampleSize, 90.0);
        QCOMPARE(summary.goodnessOfFit.df, df);
        if (!df)
            QCOMPARE(summary.goodnessOfFit.reason,
                     QStringLiteral("The model is saturated: its 2 free parameters leave none of the 2 independent "
                                    "cells for a test of fit."));
    }

    // A normal likelihood with a constant standard error adds its z^2 and a
    // degree of freedom; one whose standard error depends on the
    // parameters has no test.
    void normalLikelihood()
    {
        support::Binomial model;
        model.variables.clear();
        model.categories = QStringLiteral("success, p,\nfailure, 1-p;\n\nnormalLikelihood \"Survey\"\n"
                                          "observed, 0.35,\nexpected, p,\nstandardError, 0.05");
        pelk::EstimationSummary summary = summaryOf(model.text());
        const double p = summary.parameters.at(0).estimate, z = (0.35 - p) / 0.05;
        QCOMPARE(summary.sampleSize, 101.0);
        QCOMPARE(summary.goodnessOfFit.df, std::optional<int>(1));
        QVERIFY(std::abs(*summary.goodnessOfFit.deviance - g2({30, 70}, {100 * p, 100 * (1 - p)}) - z * z) < 1e-9);
        QVERIFY(std::abs(*summary.goodnessOfFit.pearsonP - std::erfc(std::sqrt(*summary.goodnessOfFit.pearson / 2)))
                < 1e-12);

        // 0.05*p/p is 0.05 in value, but a formula of p: the rule is on the
        // formula, as the model states it.
        model.categories.replace(QStringLiteral("standardError, 0.05"), QStringLiteral("standardError, 0.05*p/p"));
        summary = summaryOf(model.text());
        QVERIFY(!summary.goodnessOfFit.deviance && !summary.goodnessOfFit.df);
        QCOMPARE(summary.goodnessOfFit.reason,
                 QStringLiteral("The standard error of the normal likelihood \"Survey\" depends on the parameters: "
                                "its z^2 is not a chi-squared cell, so the model has no goodness-of-fit test."));
    }

    // The cell rules on given cells: Cochran's warning, an impossible cell,
    // a zero cell, two degrees of freedom.
    void cells_data()
    {
        QTest::addColumn<std::vector<double>>("observed");
        QTest::addColumn<std::vector<double>>("probability");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("reason");
        QTest::newRow("small expected counts")
            << std::vector<double> {0, 3, 1} << std::vector<double> {0.1, 0.6, 0.3}
            << "3 of 3 expected counts are below 5 and 1 below 1: the chi-squared p-values are unreliable; use the "
               "parametric bootstrap."
            << "";
        QTest::newRow("positive count, zero probability")
            << std::vector<double> {4, 6, 2} << std::vector<double> {0.5, 0.5, 0.0} << ""
            << "A category of \"L\" with a positive count has an expected count of 0: the deviance and X^2 are "
               "infinite.";
        // Probabilities summing to 0.8 (an unobserved category holds the
        // rest) are rescaled: E = 40 * (0.2, 0.2, 0.4) / 0.8.
        QTest::newRow("conditional on the observed total")
            << std::vector<double> {12, 8, 20} << std::vector<double> {0.2, 0.2, 0.4} << "" << "";
        QTest::newRow("zero count, zero probability")
            << std::vector<double> {0, 10, 30} << std::vector<double> {0.0, 0.25, 0.75} << "" << "";
    }

    void cells()
    {
        QFETCH(std::vector<double>, observed);
        QFETCH(std::vector<double>, probability);
        QFETCH(QString, warning);
        QFETCH(QString, reason);
        const pelk::GoodnessOfFit fit
            = pelk::GoodnessOfFit::compute(Cells {{QStringLiteral("L"), observed, probability}}, {}, 0);
        QCOMPARE(fit.warning, warning);
        QCOMPARE(fit.reason, reason);
        if (!reason.isEmpty())
            return;
        double total = 0, sum = 0;
        for (std::size_t i = 0; i < observed.size(); ++i)
            total += observed[i], sum += probability[i];
        std::vector<double> expected;
        for (const double p : probability)
            expected.push_back(total * p / sum);
        if (expected.front() == 0.0) // the 0/0 cell adds nothing
            expected.front() = observed.front() = 1.0;
        QVERIFY(std::abs(*fit.deviance - g2(observed, expected)) < 1e-12);
        QVERIFY(std::abs(*fit.pearson - x2(observed, expected)) < 1e-12);
        QCOMPARE(fit.df, std::optional<int>(2));
        QVERIFY(std::abs(*fit.devianceP - std::exp(-*fit.deviance / 2)) < 1e-12);
    }

    // Two models of the same data share a fingerprint, whatever their
    // parameters and the order of their categories; one count changed
    // changes it.
    void fingerprint()
    {
        support::Binomial first, second, changed;
        second.parameters = QStringLiteral("q");
        second.variables.clear();
        second.categories = QStringLiteral("failure, 1-q,\nsuccess, q");
        second.seeds = QStringLiteral("q = 0.5");
        changed.counts = QStringLiteral("success : 31\nfailure : 70");
        const auto fingerprint = [](const support::Binomial &model) {
            EstimationFixture fixture(model.text());
            return pelk::EstimationSummary::dataFingerprintOf(fixture.workspace, {0.5});
        };
        QCOMPARE(fingerprint(first).size(), 64);
        QCOMPARE(fingerprint(first), fingerprint(second));
        QVERIFY(fingerprint(first) != fingerprint(changed));
    }
};

QTEST_GUILESS_MAIN(TestGoodnessOfFit)
#include "tst_goodnessoffit.moc"
