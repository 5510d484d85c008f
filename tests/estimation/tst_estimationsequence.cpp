// The estimation sequence end to end on small models whose answers are
// known in closed form: estimates, standard errors, log-likelihoods and
// profile-likelihood limits; the checks before a run; numeric failures;
// cancellation in each unit of work.
#include "EstimationFixture.h"
#include "../support/BinomialWorkspace.h"

#include "estimation/EstimationSummary.h"
#include "estimation/ModelVerifier.h"
#include "estimation/ParametersEstimator.h"
#include "estimation/ProfileLikelihoodsEstimator.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "estimation/ThreadRunner.h"
#include "model/ProfileLikelihoods.h"

#include <QTest>

#include <cmath>
#include <functional>

using Readiness = pelk::EstimationSequence::Readiness;

namespace {

QString optimizerSection(const QString &method, bool covariance = true)
{
    return QStringLiteral("\noptimizer\n%1, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = %2;\n")
        .arg(method, covariance ? QStringLiteral("yes") : QStringLiteral("no"));
}

// The binomial workspace without its function.
QString binomial(const QString &method = "powell", const QString &requests = QString(), bool covariance = true)
{
    support::Binomial b;
    b.variables.clear();
    b.method = method;
    b.requests = requests;
    b.covariance = covariance;
    return b.text();
}

// Solves g(q) = 0 for q in [a, b] (g(a), g(b) of opposite signs) by bisection.
double bisect(const std::function<double(double)> &g, double a, double b)
{
    double ga = g(a);
    for (int i = 0; i < 200; ++i) {
        const double m = 0.5 * (a + b);
        const double gm = g(m);
        if ((gm < 0) == (ga < 0)) {
            a = m;
            ga = gm;
        } else {
            b = m;
        }
    }
    return 0.5 * (a + b);
}

constexpr double chi95 = 3.841458820694129;

// One row per optimizer, named by its file keyword.
void addMethodRows()
{
    QTest::addColumn<QString>("method");
    for (const char *method : {"powell", "fletch", "simplex"})
        QTest::newRow(method) << QString::fromLatin1(method);
}

} // namespace

class TestEstimationSequence : public QObject
{
    Q_OBJECT

private slots:
    // The estimate and its standard error (from the inverse Hessian of the
    // negative log-likelihood) in closed form, and those of the function by
    // the delta method (se f = |f'| se):
    //  binomial: p = s / n, var p = p (1 - p) / n, odds = p / (1 - p) with
    //    se(p) / (1 - p)^2, with every method;
    //  Hardy-Weinberg: p = (2 nAA + nAa) / 2n, var p = p (1 - p) / 2n, and
    //    q = 1 - p with p's se;
    //  logit: p = invLogit(a), a = log(s / f), se(a) = 1 / sqrt(n p (1 - p)),
    //    se(p) = p (1 - p) se(a); an estimate at or near 0 still gets a
    //    usable difference step;
    //  1 of 1 000 000: p = 1e-6 lies closer to 0 than the step floor.
    void estimatesAndStandardErrorsMatchTheClosedForm_data()
    {
        QTest::addColumn<QString>("workspace");
        QTest::addColumn<QList<double>>("expected"); // estimate, se, and the function's
        QTest::addColumn<double>("tolerance"); // of the estimate
        const double se = std::sqrt(0.3 * 0.7 / 100);
        for (const char *method : {"powell", "fletch", "simplex"}) {
            support::Binomial binomial;
            binomial.method = method;
            QTest::addRow("binomial, %s", method) << binomial.text() << QList<double>{0.3, se, 0.3 / 0.7, se / 0.49} << 1e-5;
        }
        support::Binomial genotypes;
        genotypes.variables = "q = 1 - p";
        genotypes.categories = "AA, p*p,\nAa, 2*p*q,\naa, q*q";
        genotypes.counts = "AA : 30\nAa : 50\naa : 20";
        const double hw = std::sqrt(0.55 * 0.45 / 200);
        QTest::newRow("Hardy-Weinberg") << genotypes.text() << QList<double>{0.55, hw, 0.45, hw} << 1e-6;
        for (int successes : {50, 52}) {
            support::Binomial logit;
            logit.parameters = "a";
            logit.variables = "p = invLogit(a)";
            logit.seeds = "a = 1";
            logit.counts = QString("success : %1\nfailure : %2").arg(successes).arg(100 - successes);
            const double p = successes / 100.0, seA = 1 / std::sqrt(100 * p * (1 - p));
            QTest::addRow("logit, %d of 100", successes)
                << logit.text() << QList<double>{std::log(p / (1 - p)), seA, p, p * (1 - p) * seA} << 1e-5;
        }
        support::Binomial rare;
        rare.variables.clear();
        rare.seeds = "p = 0.001";
        rare.counts = "success : 1\nfailure : 999999";
        QTest::newRow("1 of 1 000 000") << rare.text() << QList<double>{1e-6, std::sqrt(1e-6 * (1 - 1e-6) / 1e6)} << 1e-10;
    }

    void estimatesAndStandardErrorsMatchTheClosedForm()
    {
        QFETCH(QString, workspace);
        QFETCH(QList<double>, expected);
        QFETCH(double, tolerance);
        EstimationFixture f(workspace);
        QSignalSpy complete(&f.sequence, &pelk::EstimationSequence::estimationComplete);
        QVERIFY(f.run());
        QCOMPARE(complete.count(), 1);
        QVERIFY(f.results.parametersEstimated && f.results.covarianceAvailable);
        const double estimate = f.results.estimates[0];
        QVERIFY2(std::abs(estimate - expected[0]) < tolerance, qPrintable(QString::number(estimate, 'g', 17)));
        QVERIFY2(std::abs(std::sqrt(f.results.covariance(0, 0)) / expected[1] - 1) < 1e-3,
                 qPrintable(QString::number(std::sqrt(f.results.covariance(0, 0)), 'g', 6)));
        const auto summary = pelk::EstimationSummary::compute(f.workspace, f.results);
        QVERIFY(std::abs(*summary.parameters[0].standardError / expected[1] - 1) < 1e-3);
        QCOMPARE(summary.functions.size(), expected.size() / 2 - 1);
        if (!summary.functions.isEmpty()) {
            QVERIFY(std::abs(summary.functions[0].estimate - expected[2]) < 1e-5);
            QVERIFY(std::abs(*summary.functions[0].standardError / expected[3] - 1) < 1e-3);
        }
    }

    // LL = log C(100, 30) + 30 log 0.3 + 70 log 0.7, AIC = 2 - 2 LL.
    void binomialFitStatisticsMatchTheClosedForm()
    {
        EstimationFixture f(binomial());
        QVERIFY(f.run());
        const auto summary = pelk::EstimationSummary::compute(f.workspace, f.results);
        const double ll = std::lgamma(101) - std::lgamma(31) - std::lgamma(71) + 30 * std::log(0.3) + 70 * std::log(0.7);
        QVERIFY(std::abs(summary.logLikelihood - ll) < 1e-8);
        QVERIFY(std::abs(summary.aic - (2 - 2 * ll)) < 1e-8);
        QCOMPARE(summary.sufficientStatisticDimension, std::optional<int>(1));
    }

    void logFollowsTheUnitsInOrder()
    {
        EstimationFixture f(binomial());
        QVERIFY(f.run());
        QVERIFY(f.errorLines.isEmpty());
        QCOMPARE(f.statusLines.first(), QStringLiteral("Estimating model parameters..."));
        QVERIFY(f.statusLines.at(1).startsWith(QStringLiteral("Powell: Starting function value: ")));
        QVERIFY(f.statusLines.at(2).startsWith(QStringLiteral("Powell: Ending function value: ")));
        QVERIFY(f.statusLines.at(3).startsWith(QStringLiteral("Powell: Number of iterations: ")));
        const QStringList tail = f.statusLines.mid(f.statusLines.size() - 3);
        QCOMPARE(tail, QStringList({"Parameter estimation complete.", "Estimating covariance matrix...",
                                    "Covariance matrix estimation complete."}));
        // Every re-estimation block follows its announcement.
        for (int i = 4; i < f.statusLines.size() - 3; i += 4)
            QCOMPARE(f.statusLines.at(i), QStringLiteral("Re-estimating parameters using estimates as new seeds..."));
    }

    // chi(q) = 2 (LL(0.3) - LL(q)); the limits must lie on or just outside the
    // true ones, within one step of the search's precision (1e-5 here). The
    // odds p / (1 - p) increase with p: their limits are the odds of p's.
    void parameterProfileMatchesTheClosedForm()
    {
        support::Binomial b;
        b.requests = "p = 0.05,\nodds = 0.05";
        EstimationFixture f(b.text());
        QVERIFY(f.run());
        const auto ll = [](double p) { return 30 * std::log(p) + 70 * std::log(1 - p); };
        const auto chi = [&](double q) { return 2 * (ll(0.3) - ll(q)) - chi95; };
        const double lower = bisect(chi, 0.05, 0.3), upper = bisect(chi, 0.3, 0.6);
        const pelk::ProfileResult &p = f.workspace.parameterRequests.result(0, 1);
        QVERIFY(p.lower.status == pelk::ProfileLimitStatus::Found && p.upper.status == pelk::ProfileLimitStatus::Found);
        const double pelkLower = p.lower.value, pelkUpper = p.upper.value;
        QVERIFY2(pelkLower <= lower + 1e-7 && pelkLower > lower - 2e-5, qPrintable(QString::number(pelkLower - lower)));
        QVERIFY2(pelkUpper >= upper - 1e-7 && pelkUpper < upper + 2e-5, qPrintable(QString::number(pelkUpper - upper)));
        QCOMPARE(p.displayDigits, 5.0);
        const double oddsLower = f.workspace.variableRequests.result(0, 1).lower.value;
        const double oddsUpper = f.workspace.variableRequests.result(0, 1).upper.value;
        QVERIFY(std::abs(oddsLower - lower / (1 - lower)) < 1e-4 && std::abs(oddsUpper - upper / (1 - upper)) < 1e-4);
        QVERIFY(f.statusLines.contains(QStringLiteral("Parameter p, alpha level = 0.05, lower boundary")));
        QCOMPARE(f.statusLines.last(), QStringLiteral("ProfileLikelihood estimation complete."));
    }

    // Limits of one-parameter profiles in closed form, where the old
    // step-and-halve search gave up or could not go: a logit estimated at 0
    // (50 of 100), and p of 10 successes in 10, whose upper limit lies
    // beyond p = 1, where the model stops.
    void parameterSidesEndWhereTheClosedFormSays_data()
    {
        using Status = pelk::ProfileLimitStatus;
        QTest::addColumn<QString>("categories");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<Status>("upperStatus");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        const auto logLikelihood = [](double p) { return 50 * std::log(p) + 50 * std::log(1 - p); };
        const double logitLimit = bisect(
            [&](double b) { return 2 * (logLikelihood(0.5) - logLikelihood(1 / (1 + std::exp(-b)))) - chi95; }, 0, 2);
        QTest::newRow("logit at 0") << "success, invLogit(p),\nfailure, 1-invLogit(p)" << "success : 50\nfailure : 50"
                                    << Status::Found << -logitLimit << logitLimit;
        QTest::newRow("10 of 10") << "success, p,\nfailure, 1-p" << "success : 10\nfailure : 0" << Status::AtBound
                                  << std::exp(-chi95 / 20) << 1.0;
    }

    void parameterSidesEndWhereTheClosedFormSays()
    {
        QFETCH(QString, categories);
        QFETCH(QString, counts);
        QFETCH(pelk::ProfileLimitStatus, upperStatus);
        QFETCH(double, lower);
        QFETCH(double, upper);
        support::Binomial b;
        b.variables.clear();
        b.categories = categories;
        b.counts = counts;
        b.requests = "p = 0.05";
        EstimationFixture f(b.text());
        QVERIFY(f.run());
        const pelk::ProfileResult &p = f.workspace.parameterRequests.result(0, 1);
        QCOMPARE(p.lower.status, pelk::ProfileLimitStatus::Found);
        QCOMPARE(p.upper.status, upperStatus);
        // On or outside the interval within the search's precision (1e-4
        // for an estimate of 1).
        const double precision = std::pow(10.0, -p.displayDigits);
        QVERIFY2(p.lower.value <= lower + 1e-7 && p.lower.value >= lower - precision, qPrintable(QString::number(p.lower.value - lower)));
        QVERIFY2(std::abs(p.upper.value - upper) <= precision, qPrintable(QString::number(p.upper.value - upper)));
    }

    // The searches run at once give the same log, points and limits as one
    // after another: p at three levels and its odds, on the binomial.
    void parallelSearchesWriteWhatASequentialRunWrites()
    {
        support::Binomial b;
        b.requests = "p = 0.01,\np = 0.05,\np = 0.10,\nodds = 0.05";
        QStringList logs[2];
        pelk::ProfileLikelihoods results[2];
        for (const int threads : {1, 2}) {
            EstimationFixture f(b.text());
            f.sequence.setProfileThreadCount(threads);
            QStringList &log = logs[threads - 1];
            QObject::connect(&f.sequence, &pelk::EstimationSequence::profileStatus,
                             [&log](double mle, double q, double chi, double) {
                                 log << QStringLiteral("%1 %2 %3").arg(mle, 0, 'g', 17).arg(q, 0, 'g', 17).arg(chi, 0, 'g', 17);
                             });
            QObject::connect(&f.sequence, &pelk::EstimationSequence::status, [&log](const QString &s) { log << s; });
            QVERIFY(f.run());
            results[threads - 1] = f.workspace.parameterRequests;
            QCOMPARE(f.workspace.variableRequests.result(0, 1).upper.status, pelk::ProfileLimitStatus::Found);
        }
        QCOMPARE(logs[1], logs[0]);
        QVERIFY(results[1] == results[0]);
        QCOMPARE(results[0].result(0, 2).lower.status, pelk::ProfileLimitStatus::Found);
    }

    // A cancel while several searches run, as the second pair's heading is
    // written: the run ends cancelled, the first pair keeps its limits, the
    // second none, and nothing is left running.
    void cancelDuringParallelSearches()
    {
        support::Binomial b;
        b.requests = "p = 0.01,\np = 0.05,\np = 0.10,\nodds = 0.01,\nodds = 0.05,\nodds = 0.10";
        EstimationFixture f(b.text());
        f.sequence.setProfileThreadCount(2);
        QObject::connect(
            f.sequence.runner(), &zav::ThreadRunner::status, f.sequence.runner(),
            [&f](const QString &text) {
                if (text == QStringLiteral("Parameter p, alpha level = 0.05, lower boundary"))
                    f.sequence.cancel();
            },
            Qt::DirectConnection);
        QSignalSpy canceled(&f.sequence, &pelk::EstimationSequence::canceled);
        QVERIFY(f.run());
        QCOMPARE(canceled.count(), 1);
        QVERIFY(!f.statusLines.contains(QStringLiteral("ProfileLikelihood estimation complete.")));
        QCOMPARE(f.workspace.parameterRequests.result(0, 0).upper.status, pelk::ProfileLimitStatus::Found);
        QVERIFY(f.workspace.parameterRequests.result(0, 1) == pelk::ProfileResult());
    }

    // After the limits, a dozen points per side of p's profile over the
    // interval and a quarter of its width beyond: each on the closed form;
    // cancelled, they add nothing.
    void profileCurvePointsLieOnTheProfile()
    {
        support::Binomial b;
        b.variables.clear();
        b.requests = "p = 0.05";
        for (const bool cancel : {false, true}) {
            EstimationFixture f(b.text());
            f.sequence.setProfileCurves(true);
            QSignalSpy curvesFinished(&f.sequence, &pelk::EstimationSequence::profileCurvesFinished);
            QSignalSpy curvesComplete(&f.sequence, &pelk::EstimationSequence::profileCurvesComplete);
            QVERIFY(f.run());
            const std::size_t searched = f.workspace.parameterRequests.result(0, 1).points.size();
            if (cancel)
                f.sequence.cancelProfileCurves();
            QVERIFY(curvesFinished.count() == 1 || curvesFinished.wait(60000));
            QCOMPARE(curvesComplete.count(), cancel ? 0 : 1);
            const pelk::ProfileResult &p = f.workspace.parameterRequests.result(0, 1);
            QCOMPARE(p.points.size(), searched + (cancel ? 0 : 24));
            if (cancel)
                continue;
            const auto ll = [](double q) { return 30 * std::log(q) + 70 * std::log(1 - q); };
            for (const auto &[q, chi] : p.points)
                QVERIFY2(std::abs(chi - 2 * (ll(0.3) - ll(q))) < 1e-6, qPrintable(QString::number(q)));
            const double quarter = (p.upper.value - p.lower.value) / 4;
            QVERIFY(std::abs(p.points.front().first - (p.lower.value - quarter)) < 1e-6);
            QVERIFY(std::abs(p.points.back().first - (p.upper.value + quarter)) < 1e-6);
        }
    }

    // Estimates that are not the maximum (the seed 0.5 of 30 successes in
    // 100): the first point of the lower search beats them, and the search
    // stops with the better log-likelihood in red.
    void aBetterOptimumIsReportedInRed()
    {
        support::Binomial b;
        b.requests = "p = 0.05";
        EstimationFixture f(b.text());
        QCOMPARE(f.check(), Readiness::Ready);
        pelk::PelkLikelihoodFunc function(f.workspace.model, f.workspace.categoryCounts);
        const std::vector<double> estimates{0.5};
        zav::ThreadRunner runner;
        pelk::ProfileLikelihoodsEstimator estimator(&runner);
        estimator.setModel(&f.workspace.model);
        estimator.setRequests(&f.workspace.parameterRequests, &f.workspace.variableRequests);
        estimator.setEstimates(&estimates);
        estimator.setFunction(&function);
        estimator.setOptimizerSettings(&f.workspace.optimizer);
        QSignalSpy errors(&runner, &zav::ThreadRunner::error);
        estimator.run(); // on this thread: the runner emits directly
        // Without a covariance the first step from an estimate below 1 is 0.1.
        const auto logLikelihood = [&](double p) { return -function({p}); };
        const QString expected = QStringLiteral("A better optimum: the profile of p at 0.4 has log-likelihood %1, above %2 "
                                                "at the estimates. The estimates are not the maximum: re-estimate the "
                                                "parameters from a better start before computing limits.")
                                     .arg(logLikelihood(0.4), 0, 'g', 10).arg(logLikelihood(0.5), 0, 'g', 10);
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.first().first().toString(), expected);
        QCOMPARE(f.workspace.parameterRequests.result(0, 1).lower.status, pelk::ProfileLimitStatus::BetterOptimum);
    }

    // Trinomial 30, 50, 20 with p3 = 1 - p1 - p2. With p3 held at q the other
    // two are (1 - q) n1 / (n1 + n2) and (1 - q) n2 / (n1 + n2), which gives the
    // profile in closed form.
    void functionProfileReachesTheConstrainedOptimum()
    {
        EstimationFixture f(QStringLiteral("parameters p1, p2;\nvariables\np3 = 1 - p1 - p2;\nlikelihood \"L\"\n"
                                           "A, p1,\nB, p2,\nC, 1-p1-p2;\n")
                            + optimizerSection(QStringLiteral("powell"), false)
                            + QStringLiteral("\nparameterSeeds\np1 = 0.3,\np2 = 0.4;\n\n"
                                             "profileLikelihoodRequests\np3 = 0.05;\n\n\nA : 30\nB : 50\nC : 20\n"));
        QVERIFY(f.run());
        const auto ll = [](double q) {
            return 30 * std::log((1 - q) * 30 / 80) + 50 * std::log((1 - q) * 50 / 80) + 20 * std::log(q);
        };
        const auto chi = [&](double q) { return 2 * (ll(0.2) - ll(q)) - chi95; };
        const double lower = bisect(chi, 0.05, 0.2), upper = bisect(chi, 0.2, 0.5);
        const pelk::ProfileResult &p3 = f.workspace.variableRequests.result(0, 1);
        QVERIFY(p3.lower.status == pelk::ProfileLimitStatus::Found && p3.upper.status == pelk::ProfileLimitStatus::Found);
        const double pelkLower = p3.lower.value, pelkUpper = p3.upper.value;
        QVERIFY2(std::abs(pelkLower - lower) < 2e-5, qPrintable(QStringLiteral("%1 vs %2").arg(pelkLower).arg(lower)));
        QVERIFY2(std::abs(pelkUpper - upper) < 2e-5, qPrintable(QStringLiteral("%1 vs %2").arg(pelkUpper).arg(upper)));
        QVERIFY(f.statusLines.contains(QStringLiteral("Convenience function  p3, alpha level = 0.05, upper boundary")));
    }

    // What Verify says of a model, and what of it stands out in bold: the
    // dimension of the minimum sufficient statistic against the number of
    // parameters, not compared with an unobserved category.
    void verifyGivesItsVerdict_data()
    {
        QTest::addColumn<QString>("workspace");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bold");
        const QString valid = "\nThe Model Definition is valid.\n";
        QTest::newRow("valid") << binomial() << valid + "\nNumber of parameters: 1\nDimension of minimum sufficient statistic: 1\n"
                               << "";
        support::Binomial over;
        over.parameters = "p, q";
        over.categories = "success, p*q,\nfailure, 1-p*q";
        over.seeds = "p = 0.5,\nq = 0.5";
        const QString tooMany = "There are more parameters than can be estimated by the current model.\n";
        QTest::newRow("over-parameterised")
            << over.text() << valid + "\nNumber of parameters: 2\nDimension of minimum sufficient statistic: 1\n" + tooMany
            << tooMany;
        support::Binomial unobserved;
        unobserved.parameters = "N, p";
        unobserved.categories = "seen, p,\n, 1-p, N";
        unobserved.seeds = "N = 100,\np = 0.5";
        unobserved.counts = "seen : 30";
        QTest::newRow("unobserved category") << unobserved.text() << valid << "";
        support::Binomial undefined;
        undefined.categories = "success, p*z,\nfailure, 1-p";
        const QString errors = "Category \"success\" uses undefined symbol \"z\".\n\nThe Model Definition is not valid.\n";
        QTest::newRow("undefined symbol") << undefined.text() << errors << errors;
    }

    void verifyGivesItsVerdict()
    {
        QFETCH(QString, workspace);
        EstimationFixture f(workspace);
        pelk::PlainTextSink sink;
        pelk::verifyModel(f.workspace.model, sink);
        QTEST(sink.text(), "text");
        QTEST(sink.boldText(), "bold");
    }

    // The checks before a run: the verdict, what they write, and what of it
    // is in bold. p and 1 - p cannot estimate an unused second parameter q.
    void checksRefuseOrFlag_data()
    {
        QTest::addColumn<QString>("workspace");
        QTest::addColumn<int>("readiness");
        QTest::addColumn<QString>("messages");
        QTest::addColumn<QString>("bold");
        const QString closing = QStringLiteral(" must be fixed before estimating the parameters.\n");
        QTest::newRow("undefined symbol")
            << QStringLiteral("parameters p;\nvariables;\nlikelihood \"L\"\nA, p,\nB, z;\n") + optimizerSection(QStringLiteral("powell"))
                   + QStringLiteral("\nparameterSeeds\np = 0.5;\n\nprofileLikelihoodRequests;\n\nA : 1\nB : 2\n")
            << int(Readiness::ModelInvalid) << "Category \"B\" uses undefined symbol \"z\".\nModel Definition errors" + closing
            << "Category \"B\" uses undefined symbol \"z\".\nModel Definition errors" + closing;
        const QString negative = "Category \"failure\" has the negative count -70.\nNegative counts" + closing;
        QTest::newRow("negative count") << binomial().replace(QStringLiteral("failure : 70"), QStringLiteral("failure : -70"))
                                        << int(Readiness::CountsInvalid) << negative << negative;
        QTest::newRow("over-parameterised") << binomial().replace("\np;", "\np, q;") << int(Readiness::TooManyParameters)
                                            << QString() << QString();
    }

    void checksRefuseOrFlag()
    {
        QFETCH(QString, workspace);
        EstimationFixture f(workspace);
        QTEST(int(f.check()), "readiness");
        QTEST(f.checkMessages.text(), "messages");
        QTEST(f.checkMessages.boldText(), "bold");
    }

    void numericFailureIsReportedOnceAndNotAnnounced()
    {
        EstimationFixture f(binomial(QStringLiteral("fletch")).replace(QStringLiteral("calculateCovariance = yes;"),
                                                                       QStringLiteral("calculateCovariance = yes,\nmaxIterations = 1;")));
        QSignalSpy complete(&f.sequence, &pelk::EstimationSequence::estimationComplete);
        QVERIFY(f.run());
        QCOMPARE(f.errorLines, QStringList({"Maximum number of iterations exceeded in fletch"}));
        QCOMPARE(complete.count(), 0);
        QVERIFY(!f.statusLines.contains(QStringLiteral("Parameter estimation complete.")));
        // Without estimates there is nothing to measure the covariance at.
        QVERIFY(!f.statusLines.contains(QStringLiteral("Estimating covariance matrix...")));
    }

    void noUsableStartingPointFailsWithEveryMethod_data()
    {
        QTest::addColumn<QString>("workspaceText");
        QTest::addColumn<QStringList>("errors");
        const QString advice = pelk::ParametersEstimator::noUsableStartingPoint();
        // One observation 1 of mean m with standard error 0: every point is 0/0.
        const QString zeroError = QStringLiteral("parameters m;\nvariables;\nnormalLikelihood \"L\"\nobserved, 1,\nexpected, m,\nstandardError, 0;\n%1"
                                                 "\nparameterSeeds\nm = 0.5;\n\nprofileLikelihoodRequests\nm = 0.05;\n\n");
        for (const QString method : {"powell", "fletch", "simplex"}) {
            const QStringList errors = method == QLatin1String("powell")
                                           ? QStringList {QStringLiteral("brent:  Invalid seeds"), advice}
                                           : QStringList {advice};
            QTest::addRow("standard error 0, %s", qPrintable(method))
                << zeroError.arg(optimizerSection(method)) << errors;
            // 1 - p = -0.5 where the count is positive; p = 1.5 itself is above 1.
            QTest::addRow("seed p = 1.5, %s", qPrintable(method))
                << binomial(method, "p = 0.05").replace(QStringLiteral("p = 0.5;"), QStringLiteral("p = 1.5;"))
                << errors;
        }
    }

    // A run that never found a point where the log-likelihood can be computed
    // fails whichever method ran: red lines, no announcement, nothing after it.
    void noUsableStartingPointFailsWithEveryMethod()
    {
        QFETCH(QString, workspaceText);
        QFETCH(QStringList, errors);
        EstimationFixture f(workspaceText);
        QSignalSpy complete(&f.sequence, &pelk::EstimationSequence::estimationComplete);
        QVERIFY(f.run());
        QCOMPARE(f.errorLines, errors);
        QCOMPARE(complete.count(), 0);
        QVERIFY(!f.results.parametersEstimated);
        QVERIFY(!f.statusLines.contains(QStringLiteral("Estimating covariance matrix...")));
        QVERIFY(!f.statusLines.contains(QStringLiteral("Estimating profile likelihood confidence intervals...")));
    }

    // Counts 0 and 10 for p and 1 - p: the maximum is at the boundary p = 0 with
    // log-likelihood 0. A probability above 1 (p < 0) must not be rewarded.
    // Fletch, which stops on a zero gradient, finds none at the boundary and
    // says so; it no longer walks out of the model to a positive value.
    void estimatesStayInsideTheProbabilityRange_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("powell") << "powell" << QStringList();
        QTest::newRow("fletch") << "fletch" << QStringList {"Maximum number of iterations exceeded in fletch"};
        QTest::newRow("simplex") << "simplex" << QStringList();
    }

    void estimatesStayInsideTheProbabilityRange()
    {
        QFETCH(QString, method);
        QFETCH(QStringList, errors);
        EstimationFixture f(binomial(method, QString(), false)
                                .replace(QStringLiteral("success : 30\nfailure : 70"), QStringLiteral("success : 0\nfailure : 10")));
        QVERIFY(f.run());
        QCOMPARE(f.errorLines, errors);
        QCOMPARE(f.results.parametersEstimated, errors.isEmpty());
        if (!errors.isEmpty())
            return;
        const auto summary = pelk::EstimationSummary::compute(f.workspace, f.results);
        QVERIFY2(summary.logLikelihood <= 0.0 && summary.logLikelihood > -1e-3, qPrintable(QString::number(summary.logLikelihood)));
        QVERIFY2(f.results.estimates[0] >= -1e-12 && f.results.estimates[0] < 1e-4,
                 qPrintable(QString::number(f.results.estimates[0])));
    }

    // One observation of a + b identifies the sum, not a and b: the Hessian is
    // singular whichever optimizer found the estimates.
    void unidentifiedSumHasASingularHessian_data()
    {
        addMethodRows();
    }

    void unidentifiedSumHasASingularHessian()
    {
        QFETCH(QString, method);
        EstimationFixture f(QStringLiteral("parameters a, b;\nvariables;\nnormalLikelihood \"L\"\nobserved, 3,\nexpected, a+b,\nstandardError, 1;\n")
                            + optimizerSection(method)
                            + QStringLiteral("\nparameterSeeds\na = 0.5,\nb = 0.7;\n\nprofileLikelihoodRequests;\n\n"));
        QVERIFY(f.run());
        QVERIFY(f.results.parametersEstimated);
        QVERIFY(!f.results.covarianceAvailable);
        QCOMPARE(f.errorLines, QStringList({"Singular Hessian in calculating covariance matrix"}));
        QCOMPARE(f.statusLines.last(), QStringLiteral("Covariance matrix estimation failed."));
    }

    void cancelInEachUnit_data()
    {
        QTest::addColumn<QString>("announcement");
        QTest::addColumn<QString>("neverShown");
        QTest::newRow("parameters") << "Estimating model parameters..." << "Parameter estimation complete.";
        QTest::newRow("covariance") << "Estimating covariance matrix..." << "Covariance matrix estimation complete.";
        QTest::newRow("profiles") << "Estimating profile likelihood confidence intervals..."
                                  << "ProfileLikelihood estimation complete.";
    }

    // The cancel request is made on the worker, the moment a unit announces
    // itself, so the unit sees it at its first check.
    void cancelInEachUnit()
    {
        QFETCH(QString, announcement);
        QFETCH(QString, neverShown);
        EstimationFixture f(binomial(QStringLiteral("powell"), "p = 0.05"));
        QObject::connect(
            f.sequence.runner(), &zav::ThreadRunner::status, f.sequence.runner(),
            [&f, announcement](const QString &text) {
                if (text == announcement)
                    f.sequence.cancel();
            },
            Qt::DirectConnection);
        QSignalSpy complete(&f.sequence, &pelk::EstimationSequence::estimationComplete);
        QSignalSpy canceled(&f.sequence, &pelk::EstimationSequence::canceled);
        QVERIFY(f.run());
        QCOMPARE(canceled.count(), 1);
        QCOMPARE(complete.count(), 0);
        QVERIFY(f.statusLines.contains(announcement));
        QVERIFY(!f.statusLines.contains(neverShown));
    }

    void cancelAtAnyMomentEndsTheRun()
    {
        for (int delayMs : {0, 1, 3, 10, 30}) {
            EstimationFixture f(binomial(QStringLiteral("powell"), "p = 0.05,\np = 0.10"));
            QSignalSpy finished(&f.sequence, &pelk::EstimationSequence::finished);
            QCOMPARE(f.check(), Readiness::Ready);
            f.start();
            QThread::msleep(unsigned(delayMs));
            f.sequence.cancel();
            QVERIFY(f.finish(finished));
            QVERIFY(!f.sequence.isRunning());
        }
    }
};

QTEST_GUILESS_MAIN(TestEstimationSequence)
#include "tst_estimationsequence.moc"
