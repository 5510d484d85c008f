// The Fletch quasi-Newton method: its first steps, the difference step, the
// iteration limit and cancellation.
#include "optim/FletchOptimizer.h"
#include "optim/OptimizerSettings.h"
#include "optim/FletchSettings.h"
#include "optim/NRError.h"
#include "RecordingFunc.h"
#include "TestFormulas.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace optimtest;

class TestFletch : public QObject
{
    Q_OBJECT

private slots:
    void aFlatFunctionStopsAfterOneIterationPerMode()
    {
        RecordingFunc objective(flat);
        zav::FletchOptimizer fletch;
        const Point start{0.5, -20.0, 3.0};
        Point point = start;
        int iterations = -1;

        fletch.minimize(objective, point, nullptr, iterations);

        // A zero gradient is no descent direction: one iteration with forward
        // differences (n evaluations), one with central ones (2n).
        QCOMPARE(iterations, 2);
        QCOMPARE(point, start);
        const int n = 3;
        QCOMPARE(objective.callCount(), 3 + n + 2 * n + 1);
    }

    void firstStepsOfAParabolaFollowTheHandTrace()
    {
        RecordingFunc objective(parabola);
        zav::FletchOptimizer fletch;
        Point point{0.5};
        int iterations = 0;

        fletch.minimize(objective, point, nullptr, iterations);

        // By hand, with g(0.5) = -5 and the identity as Hessian: s = 5, alpha =
        // -2 dfn / g.s = 0.08, first trial 0.9 (f 4.41 < 6.25); extrapolation to
        // 1.3 (12 * 4.41 >= 5 * 6.25 + 7 * 2.89, go on) and, with a doubled
        // multiplier, to 2.1 (12 * 2.89 < 5 * 6.25 + 7 * 0.81: last step). The DFP
        // update then holds the exact curvature 2, so the next trial is the
        // minimum 3, followed by one failed extrapolation to 3.9.
        const double h = 0.5 * zav::FletchSettings::defaultStepSize;
        const std::vector<double> trace{0.5, 0.5, 0.5, 0.5 + h, 0.9, 1.3, 2.1, 2.1 + h, 3.0, 3.9};
        QVERIFY(objective.callCount() > int(trace.size()));
        for (std::size_t call = 0; call < trace.size(); ++call)
            QVERIFY2(std::fabs(objective.calls[call][0] - trace[call]) <= 1e-5,
                     qPrintable(QStringLiteral("call %1 at %2").arg(call).arg(objective.calls[call][0], 0, 'g', 15)));
        QVERIFY(std::fabs(point[0] - 3.0) <= 1e-6);
    }

    void differenceStepFollowsTheParameterScale_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("stepInUnitsOfStepSize");
        QTest::newRow("zero") << 0.0 << 0.5;
        QTest::newRow("below one") << 0.3 << 0.5;
        QTest::newRow("just below minus one") << -0.999 << 0.5;
        QTest::newRow("one") << 1.0 << 1.0;
        QTest::newRow("nine and a half") << 9.5 << 1.0;
        QTest::newRow("ten") << 10.0 << 10.0;
        QTest::newRow("250") << 250.0 << 100.0;
        QTest::newRow("minus 250") << -250.0 << 100.0;
        QTest::newRow("thousands") << 4321.0 << 1000.0;
    }

    void differenceStepFollowsTheParameterScale()
    {
        QFETCH(double, start);
        QFETCH(double, stepInUnitsOfStepSize);
        const double stepSize = 1e-3;
        RecordingFunc objective([](const Point &x) { return (x[0] - 5.0) * (x[0] - 5.0) + (x[1] - 5.0) * (x[1] - 5.0); });
        zav::FletchOptimizer fletch;
        fletch.engine().stepSize = stepSize;
        Point point{start, 3.0};
        int iterations = 0;

        fletch.minimize(objective, point, nullptr, iterations);

        // Three evaluations at the start point (begin signal, engine, core),
        // then the forward difference of each coordinate in turn.
        QVERIFY(objective.calls.size() > 5);
        for (int call = 0; call < 3; ++call)
            QCOMPARE(objective.calls[std::size_t(call)], (Point{start, 3.0}));
        const Point &first = objective.calls[3];
        QVERIFY(std::fabs((first[0] - start) - stepInUnitsOfStepSize * stepSize) <= 1e-12 * std::fmax(1.0, std::fabs(start)));
        QCOMPARE(first[1], 3.0);
        const Point &second = objective.calls[4];
        QCOMPARE(second[0], start);
        QVERIFY(std::fabs((second[1] - 3.0) - 1.0 * stepSize) <= 1e-12);
    }

    void oneIterationAlwaysExceedsTheLimit_data()
    {
        QTest::addColumn<Formula>("function");
        QTest::addColumn<QList<double>>("start");
        QTest::newRow("quadratic") << Formula(shiftedBowl) << QList<double>{-3.0, 7.0};
        QTest::newRow("quadratic at its minimum") << Formula(shiftedBowl) << QList<double>{1.0, -2.0};
        QTest::newRow("Rosenbrock") << Formula(rosenbrock) << QList<double>{-1.2, 1.0};
        QTest::newRow("flat") << Formula(flat) << QList<double>{2.0};
    }

    void oneIterationAlwaysExceedsTheLimit()
    {
        QFETCH(Formula, function);
        QFETCH(QList<double>, start);
        RecordingFunc objective(function);
        zav::FletchOptimizer fletch;
        fletch.engine().maxIterations = 1;
        QSignalSpy begin(&fletch, &zav::AbstractOptimizer::beginOptimization);
        QSignalSpy end(&fletch, &zav::AbstractOptimizer::endOptimization);
        Point point = toPoint(start);
        int iterations = 0;

        bool thrown = false;
        try {
            fletch.minimize(objective, point, nullptr, iterations);
        } catch (const NR3::NRError &error) {
            thrown = true;
            QCOMPARE(QByteArray(error.message), QByteArray("Maximum number of iterations exceeded in fletch"));
            QCOMPARE(error.code, 1);
        }
        QVERIFY(thrown);
        QCOMPARE(iterations, 1);
        // No step was accepted before the limit struck.
        QCOMPARE(point, toPoint(start));
        QCOMPARE(begin.count(), 1);
        QCOMPARE(end.count(), 0);
    }

    void cancelRequestedBeforeTheRunStopsAtTheFirstIteration()
    {
        RecordingFunc objective(rosenbrock);
        objective.flag = true;
        zav::FletchOptimizer fletch;
        QSignalSpy end(&fletch, &zav::AbstractOptimizer::endOptimization);
        const Point start{-1.2, 1.0};
        Point point = start;
        int iterations = 0;

        fletch.minimize(objective, point, &objective.flag, iterations);

        QCOMPARE(iterations, 1);
        QCOMPARE(point, start);
        // Three evaluations at the start, the forward gradient, the end value.
        QCOMPARE(objective.callCount(), 3 + 2 + 1);
        QCOMPARE(end.count(), 1);
        QCOMPARE(end.at(0).at(2).toInt(), 1);
    }

    void cancelIsSeenAtTheNextIterationOrTrial_data()
    {
        QTest::addColumn<int>("cancelAtCall");
        QTest::newRow("in the first gradient") << 4;
        QTest::newRow("in the first line search") << 6;
        QTest::newRow("a few iterations in") << 20;
        QTest::newRow("many iterations in") << 60;
        QTest::newRow("deep in the run") << 140;
    }

    void cancelIsSeenAtTheNextIterationOrTrial()
    {
        QFETCH(int, cancelAtCall);
        RecordingFunc uncancelled(rosenbrock);
        Point point{-1.2, 1.0};
        int iterations = 0;
        zav::FletchOptimizer().minimize(uncancelled, point, nullptr, iterations);
        QVERIFY(uncancelled.callCount() > cancelAtCall + 50);

        RecordingFunc objective(rosenbrock);
        objective.raiseFlagAtCall = cancelAtCall;
        zav::FletchOptimizer fletch;
        QSignalSpy end(&fletch, &zav::AbstractOptimizer::endOptimization);
        point = {-1.2, 1.0};

        fletch.minimize(objective, point, &objective.flag, iterations);

        // Between two cancel tests lie at most an extrapolation and a central
        // gradient (2n evaluations); then one evaluation for the end value.
        const int afterCancel = objective.callCount() - cancelAtCall;
        QVERIFY2(afterCancel <= 2 * 2 + 10 + 1, qPrintable(QString::number(afterCancel)));
        QCOMPARE(end.count(), 1);
        QCOMPARE(end.at(0).at(2).toInt(), iterations);
    }

    // A run uses the settings its optimizer was built with, never the records
    // of the desktop program's Optimizer page.
    void runsWithItsOwnSettingsNotTheRecords()
    {
        zav::FletchSettings::instance().maxIterations = 500;
        zav::OptimizerSettings settings;
        settings.type = zav::OptimizerFactory::Fletch;
        settings.fletch.maxIterations = 1;
        const std::unique_ptr<zav::AbstractOptimizer> fletch = settings.createOptimizer();
        RecordingFunc objective(shiftedBowl);
        Point point{-3.0, 7.0};
        int iterations = 0;

        try {
            fletch->minimize(objective, point, nullptr, iterations);
            QFAIL("no error");
        } catch (const NR3::NRError &error) {
            QCOMPARE(QByteArray(error.message), QByteArray("Maximum number of iterations exceeded in fletch"));
        }
    }

    void cleanup()
    {
        zav::FletchSettings::instance() = zav::FletchSettings();
    }
};

QTEST_GUILESS_MAIN(TestFletch)
#include "tst_fletch.moc"
