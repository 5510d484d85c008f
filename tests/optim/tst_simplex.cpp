// The downhill simplex: the initial simplex, the order of its first steps,
// the evaluation budget and cancellation.
#include "RecordingFunc.h"
#include "TestFormulas.h"

#include "optim/NRError.h"
#include "optim/SimplexOptimizer.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <functional>

using namespace optimtest;

namespace {

// A simplex with the default settings: tolerance 3e-8, 5000 evaluations,
// step 0.1.
struct Run
{
    explicit Run(std::function<double(const Point &)> formula) : function(std::move(formula)) {}

    void minimize(Point &point) { optimizer.minimize(function, point, &function.flag, numIterations); }

    zav::SimplexOptimizer optimizer;
    RecordingFunc function;
    int numIterations = -1;
};

} // namespace

class TestSimplex : public QObject
{
    Q_OBJECT

private slots:
    void initialVerticesMoveOneCoordinateByItsProportionalStep_data()
    {
        QTest::addColumn<QList<double>>("start");
        QTest::addColumn<double>("stepSize");
        QTest::addColumn<QList<QList<double>>>("vertices");

        QTest::newRow("(2, -1), step 0.1") << QList<double>{2.0, -1.0} << 0.1
                                           << QList<QList<double>>{{2.0, -1.0}, {2.2, -1.0}, {2.0, -1.1}};
        QTest::newRow("a zero start value has no extent") << QList<double>{0.0, 4.0, -3.0} << 0.5
                                                          << QList<QList<double>>{{0.0, 4.0, -3.0}, {0.0, 4.0, -3.0},
                                                                                  {0.0, 6.0, -3.0}, {0.0, 4.0, -4.5}};
        QTest::newRow("one parameter") << QList<double>{5.0} << 0.1 << QList<QList<double>>{{5.0}, {5.5}};
    }

    void initialVerticesMoveOneCoordinateByItsProportionalStep()
    {
        QFETCH(QList<double>, start);
        QFETCH(double, stepSize);
        QFETCH(QList<QList<double>>, vertices);

        Run run([](const Point &x) {
            double sum = 0.0;
            for (double v : x)
                sum += (v - 1.0) * (v - 1.0);
            return sum;
        });
        run.optimizer.stepSize = stepSize;
        run.optimizer.maxFuncEvaluations = 0; // stop right after the initial vertices
        Point point = toPoint(start);
        QVERIFY_THROWS_EXCEPTION(NR3::NRError, run.minimize(point));
        QCOMPARE(run.function.callCount(), vertices.size());
        for (int i = 0; i < vertices.size(); ++i)
            QCOMPARE(QList<double>(run.function.calls[std::size_t(i)].begin(), run.function.calls[std::size_t(i)].end()),
                     vertices[i]);
    }

    void stepsVisitTheTrialPointsInOrder_data()
    {
        QTest::addColumn<Formula>("formula");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("stepSize");
        QTest::addColumn<QList<double>>("calls");
        QTest::addColumn<int>("numIterations");

        // x^2 from 2: 2.2 reflects through 2 to 1.8, the new best, and expands to
        // 1.6; then 2 reflects through 1.6 to 1.2 and expands to 0.8. Two steps of
        // two counted evaluations.
        QTest::newRow("reflection and expansion") << Formula(square) << 2.0 << 0.1
                                                  << QList<double>{2.0, 2.2, 1.8, 1.6, 1.2, 0.8} << 5;
        // x^2 from 1 with vertices 1 and 3: 3 reflects to -1, as good as the best,
        // which still counts as a new best and expands to -3.
        QTest::newRow("reflection tying with the best") << Formula(square) << 1.0 << 2.0
                                                        << QList<double>{1.0, 3.0, -1.0, -3.0} << 3;
        // x^2 from 1 with vertices 1 and -0.5: 1 reflects to -2, worse than both,
        // so it contracts half-way to the face, 0.25; then -0.5 reflects to 1,
        // worse again, and contracts to -0.125.
        QTest::newRow("contraction") << Formula(square) << 1.0 << -1.5
                                     << QList<double>{1.0, -0.5, -2.0, 0.25, 1.0, -0.125} << 5;
        // |x| + 4|x|(1 - |x|) from 1 with vertices 1 and 0: the reflection to -1
        // and the contraction to 0.5 are both no better, so 1 shrinks to 0.5
        // (evaluated again, counted once); then 0.5 reflects to -0.5 and contracts
        // to 0.25.
        QTest::newRow("shrink") << Formula(bump) << 1.0 << -1.0
                                << QList<double>{1.0, 0.0, -1.0, 0.5, 0.5, -0.5, 0.25} << 6;
    }

    void stepsVisitTheTrialPointsInOrder()
    {
        QFETCH(Formula, formula);
        QFETCH(double, start);
        QFETCH(double, stepSize);
        QFETCH(QList<double>, calls);
        QFETCH(int, numIterations);

        Run run(formula);
        run.optimizer.stepSize = stepSize;
        run.function.raiseFlagAtCall = int(calls.size());
        Point point{start};
        run.minimize(point);
        QCOMPARE(run.function.callCount(), calls.size());
        for (int i = 0; i < calls.size(); ++i)
            QCOMPARE(run.function.calls[std::size_t(i)][0], calls[i]);
        QCOMPARE(run.numIterations, numIterations);
    }

    void stopsAtTheFirstTestThatApplies_data()
    {
        QTest::addColumn<Formula>("formula");
        QTest::addColumn<QList<double>>("start");
        QTest::addColumn<int>("budget");
        QTest::addColumn<int>("raiseFlagAtCall"); // 0: never
        QTest::addColumn<bool>("throws");
        QTest::addColumn<QList<double>>("result");
        QTest::addColumn<int>("numIterations");
        QTest::addColumn<int>("calls"); // -1: not checked

        // All values tie, so the last vertex ranks lowest.
        QTest::newRow("constant function") << Formula(flat) << QList<double>{2.0, -1.0} << 5000 << 0 << false
                                           << QList<double>{2.0, -1.1} << 1 << 3;
        // Flags raised at call 1 are up before the loop starts.
        QTest::newRow("convergence before the flag") << Formula(flat) << QList<double>{2.0, -1.0} << 5000 << 1
                                                     << false << QList<double>{2.0, -1.1} << 1 << 3;
        // Only the uncounted initial vertices are evaluated.
        QTest::newRow("budget 0") << Formula(shiftedBowl) << QList<double>{2.0, -1.0} << 0 << 0 << true
                                  << QList<double>{} << -1 << 3;
        QTest::newRow("budget before the flag") << Formula(shiftedBowl) << QList<double>{2.0, -1.0} << 0 << 1
                                                << true << QList<double>{} << -1 << 3;
        QTest::newRow("budget 10 on Rosenbrock") << Formula(rosenbrock) << QList<double>{-1.2, 1.0} << 10 << 0
                                                 << true << QList<double>{} << -1 << -1;
        // The returned vertex was never filled in.
        QTest::newRow("flag before the first step") << Formula(shiftedBowl) << QList<double>{2.0, -1.0} << 5000
                                                    << 1 << false << QList<double>{0.0, 0.0} << 1 << 3;
        // x^2 from 2: raised during the reflection to 1.8, whose expansion to 1.6
        // still runs.
        QTest::newRow("flag during a step") << Formula(square) << QList<double>{2.0} << 5000 << 3 << false
                                            << QList<double>{0.0} << 3 << 4;
    }

    void stopsAtTheFirstTestThatApplies()
    {
        QFETCH(Formula, formula);
        QFETCH(QList<double>, start);
        QFETCH(int, budget);
        QFETCH(int, raiseFlagAtCall);
        QFETCH(bool, throws);
        QFETCH(QList<double>, result);
        QFETCH(int, numIterations);
        QFETCH(int, calls);

        Run run(formula);
        run.optimizer.maxFuncEvaluations = budget;
        run.function.raiseFlagAtCall = raiseFlagAtCall;
        Point point = toPoint(start);
        try {
            run.minimize(point);
            QVERIFY(!throws);
        } catch (const NR3::NRError &error) {
            QVERIFY(throws);
            QCOMPARE(error.message, "Maximum number of iterations exceeded");
            QCOMPARE(error.code, 0);
        }
        QCOMPARE(run.function.flag.load(), raiseFlagAtCall > 0);
        // A throw leaves the caller's point untouched.
        QCOMPARE(point, toPoint(throws ? start : result));
        QCOMPARE(run.numIterations, numIterations);
        if (calls >= 0)
            QCOMPARE(run.function.callCount(), calls);
    }
};

QTEST_GUILESS_MAIN(TestSimplex)
#include "tst_simplex.moc"
