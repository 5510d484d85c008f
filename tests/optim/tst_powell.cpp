// Powell's direction set: the order of the line searches, the relative
// convergence test, the numeric failures, cancellation and the progress
// signals.
#include "RecordingFunc.h"
#include "TestFormulas.h"

#include "optim/NRError.h"
#include "optim/PowellEngine.h"
#include "optim/PowellOptimizer.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace optimtest;

namespace {

// One Powell run with spies on both progress signals.
struct Run
{
    explicit Run(std::function<double(const Point &)> formula) : function(std::move(formula)) {}

    void minimize(Point &point) { optimizer.minimize(function, point, &function.flag, numIterations); }

    // Exactly one begin signal with the value at the start and one end signal
    // with the value at the result and the reported count.
    void verifySignals(double startValue, double resultValue)
    {
        QCOMPARE(QList<QVariantList>(begin), QList<QVariantList>({{"Powell", startValue}}));
        QCOMPARE(QList<QVariantList>(end), QList<QVariantList>({{"Powell", resultValue, numIterations}}));
    }

    zav::PowellOptimizer optimizer;
    RecordingFunc function;
    QSignalSpy begin{&optimizer, &zav::AbstractOptimizer::beginOptimization};
    QSignalSpy end{&optimizer, &zav::AbstractOptimizer::endOptimization};
    int numIterations = -1;
};

} // namespace

class TestPowell : public QObject
{
    Q_OBJECT

private slots:
    void firstLineSearchBracketsFromTheStartPoint()
    {
        // (x - 3)^2 from 0: the start value for the begin signal and for the
        // search, then the bracket from t = 0 and 0.9, a golden step beyond 0.9,
        // the parabola's vertex (the exact minimum 3) and a golden step beyond it.
        Run run(parabola);
        Point point{0.0};
        run.minimize(point);
        const double golden = 0.9 + 1.618034 * 0.9;
        const QList<double> expected{0.0, 0.0, 0.0, 0.9, golden, 3.0, 3.0 + 1.618034 * (3.0 - golden)};
        QVERIFY(run.function.callCount() > expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(run.function.calls[std::size_t(i)][0], expected[i]);
        QVERIFY(std::abs(point[0] - 3.0) < 1e-6);
    }

    void tiesMoveEachLineSearchToTheFarEndOfItsBracket()
    {
        // On a constant function f(0.9) does not exceed f(0), so the bracket keeps
        // its direction and ends at once at c = 0.9 + 1.618034 * 0.9. Brent's
        // search accepts every equal value, raising the lower bound to the old
        // best point each time, so it closes in on c, within its tolerance.
        Run run(flat);
        Point point{2.0, -1.0};
        run.minimize(point);
        const double c = 0.9 + 1.618034 * 0.9;
        QVERIFY(std::abs(point[0] - (2.0 + c)) < 1e-6);
        QVERIFY(std::abs(point[1] - (-1.0 + c)) < 1e-6);
        QCOMPARE(run.numIterations, 1);
    }

    void convergesInItsFirstIterationAtAMinimum_data()
    {
        QTest::addColumn<Formula>("formula");
        QTest::addColumn<QList<double>>("start");

        QTest::newRow("constant function") << Formula(flat) << QList<double>{2.0, -1.0};
        QTest::newRow("start at the minimum") << Formula(shiftedBowl) << QList<double>{1.0, -2.0};
    }

    void convergesInItsFirstIterationAtAMinimum()
    {
        QFETCH(Formula, formula);
        QFETCH(QList<double>, start);
        Run run(formula);
        Point point = toPoint(start);
        run.minimize(point);
        // A count of 1 also ends the re-estimation loop, which repeats while the
        // count exceeds 2.
        QCOMPARE(run.numIterations, 1);
        QCOMPARE(formula(point), formula(toPoint(start)));
        run.verifySignals(formula(toPoint(start)), formula(point));
    }

    void zeroMinimumNeedsMoreIterationsThanAShiftedOne_data()
    {
        QTest::addColumn<Formula>("formula");
        QTest::addColumn<QList<double>>("start");

        QTest::newRow("Rosenbrock") << Formula(rosenbrock) << QList<double>{-1.2, 1.0};
        QTest::newRow("quartic valley") << Formula(quarticValley) << QList<double>{3.0, 1.0};
    }

    void zeroMinimumNeedsMoreIterationsThanAShiftedOne()
    {
        QFETCH(Formula, formula);
        QFETCH(QList<double>, start);

        // The relative test passes at a value of 0 only when an iteration gains at
        // most 1e-25 / 2, while at 1 a gain of about 3e-8 suffices.
        Run atZero(formula);
        Run shifted([formula](const Point &x) { return formula(x) + 1.0; });
        Point pointAtZero = toPoint(start);
        Point shiftedPoint = toPoint(start);
        atZero.minimize(pointAtZero);
        shifted.minimize(shiftedPoint);
        QVERIFY2(atZero.numIterations > shifted.numIterations,
                 qPrintable(QStringLiteral("%1 <= %2").arg(atZero.numIterations).arg(shifted.numIterations)));
        QVERIFY(formula(pointAtZero) <= formula(shiftedPoint));
    }

    void halvesTheFirstStepAwayFromUnusablePoints()
    {
        // From 0 the trial step 0.9 lands on an unusable point, so the bracket is
        // searched again from 0 and 0.45.
        Run run(usableBelowHalf);
        Point point{0.0};
        run.minimize(point);
        const QList<double> expected{0.0, 0.9, -1.618034 * 0.9, 0.0, 0.45, 0.45 + 1.618034 * 0.45};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(run.function.calls[std::size_t(i) + 2][0], expected[i]);
        QVERIFY(std::abs(point[0] - 0.3) < 1e-6);
        run.verifySignals(0.09, usableBelowHalf(point));
    }

    void throwsAndLeavesThePointUntouched_data()
    {
        QTest::addColumn<Formula>("formula");
        QTest::addColumn<QList<double>>("start");
        QTest::addColumn<QByteArray>("message");

        // The first step is halved until it underflows to 0.
        QTest::newRow("every trial unusable") << Formula(nowhereUsable) << QList<double>{0.0, 0.0}
                                              << QByteArray("brent:  Invalid seeds");
        QTest::newRow("only the start usable") << Formula(usableOnlyAtTheOrigin) << QList<double>{0.0, 0.0}
                                               << QByteArray("brent:  Invalid seeds");
        // The second iteration starts next to the flat minimum, so its line
        // minimiser lies near t = 0, where Brent's tolerance is absolute
        // (2.2e-19); parabolas close in on a quartic only linearly.
        QTest::newRow("flat minimum of value 0") << Formula(quartic) << QList<double>{1.0}
                                                 << QByteArray("Too many iterations in brent");
    }

    void throwsAndLeavesThePointUntouched()
    {
        QFETCH(Formula, formula);
        QFETCH(QList<double>, start);
        QFETCH(QByteArray, message);
        Run run(formula);
        Point point = toPoint(start);
        try {
            run.minimize(point);
            QFAIL("no exception");
        } catch (const NR3::NRError &error) {
            QCOMPARE(QByteArray(error.message), message);
            QCOMPARE(error.code, 1);
        }
        QCOMPARE(point, toPoint(start));
        QCOMPARE(run.numIterations, -1);
        QCOMPARE(run.begin.count(), 1);
        QCOMPARE(run.begin.at(0).at(1).toDouble(), formula(point));
        QCOMPARE(run.end.count(), 0);
    }

    void engineThrowsWhenItsIterationLimitIsReached_data()
    {
        QTest::addColumn<Formula>("formula");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("throws");

        // A quadratic in two parameters needs two iterations to reach its minimum
        // (the second along a conjugate direction) and a third to see that it
        // gains nothing more. The limit is checked after the convergence test.
        QTest::newRow("quadratic, limit 1") << Formula(shiftedBowl) << 1 << true;
        QTest::newRow("quadratic, limit 2") << Formula(shiftedBowl) << 2 << false;
        QTest::newRow("Rosenbrock, limit 0") << Formula(rosenbrock) << 0 << true;
        QTest::newRow("constant, limit 0") << Formula(flat) << 0 << false;
    }

    void engineThrowsWhenItsIterationLimitIsReached()
    {
        QFETCH(Formula, formula);
        QFETCH(int, limit);
        QFETCH(bool, throws);

        RecordingFunc function(formula);
        zav::PowellEngine engine(function, zav::PowellOptimizer::fractionalTolerance, limit, nullptr);
        const Point start{3.0, 1.0};
        try {
            engine.minimize(start);
            QVERIFY(!throws);
            QVERIFY(engine.iteration() <= limit);
        } catch (const NR3::NRError &error) {
            QVERIFY(throws);
            QCOMPARE(error.message, "Maximum number of iterations exceeded");
            QCOMPARE(error.code, 0);
            QCOMPARE(engine.iteration(), limit);
        }
    }

    void cancelReturnsThePointOfTheCurrentIteration_data()
    {
        QTest::addColumn<int>("raiseFlagAtCall");
        QTest::addColumn<bool>("raiseOffTheFirstLine");
        QTest::addColumn<QList<double>>("result");
        QTest::addColumn<int>("numIterations");

        // From (3, 1) the first line search evaluates the start (call 3), 3.9, a
        // golden step, the parabola's vertex -0.5 and one more golden step (call
        // 7); Brent's search starts at call 8 with -0.5. The flag is seen before
        // the first iteration, or at the end of the first one, after the counter
        // has been advanced.
        QTest::newRow("before the first iteration") << 1 << false << QList<double>{3.0, 1.0} << 1;
        QTest::newRow("while bracketing the first direction") << 4 << false << QList<double>{3.0, 1.0} << 2;
        QTest::newRow("in Brent's search along the first direction") << 9 << false << QList<double>{3.0, 1.0} << 2;
        // The first line search completed and moved the point to (-0.5, 1).
        QTest::newRow("while bracketing the second direction") << 0 << true << QList<double>{-0.5, 1.0} << 2;
    }

    void cancelReturnsThePointOfTheCurrentIteration()
    {
        QFETCH(int, raiseFlagAtCall);
        QFETCH(bool, raiseOffTheFirstLine);
        QFETCH(QList<double>, result);
        QFETCH(int, numIterations);

        const Point start{3.0, 1.0};
        Run run(shiftedBowl);
        run.function.raiseFlagAtCall = raiseFlagAtCall;
        if (raiseOffTheFirstLine)
            run.function.raiseFlagWhen = [](const Point &x) { return x[1] != 1.0; };
        Point point = start;
        run.minimize(point);

        QVERIFY(run.function.flag.load());
        QCOMPARE(run.numIterations, numIterations);
        QVERIFY(std::abs(point[0] - result[0]) < 1e-6);
        QCOMPARE(point[1], result[1]);
        // The begin signal's call, the search's own start value and the end
        // signal's call, with nothing in between.
        if (raiseFlagAtCall == 1)
            QCOMPARE(run.function.callCount(), 3);
        // Cancelled in the first line search: the second one still brackets along
        // its own direction, but neither moves the point.
        if (raiseFlagAtCall > 1) {
            const auto secondLine = std::find_if(run.function.calls.begin(), run.function.calls.end(),
                                                 [](const Point &x) { return x[1] != 1.0; });
            QVERIFY(secondLine != run.function.calls.end());
            for (auto x = secondLine; x != run.function.calls.end(); ++x)
                QCOMPARE(x->at(0), 3.0);
        }
        run.verifySignals(shiftedBowl(start), shiftedBowl(point));
    }
};

QTEST_GUILESS_MAIN(TestPowell)
#include "tst_powell.moc"
