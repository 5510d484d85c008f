// Round axis ticks: steps of 1, 2 or 5 times a power of ten cutting a span
// into at most 8 parts, ranges widened to multiples of their step, and the
// decimals that print a step's multiples. Expected values by hand.
#include "pages/plot/NiceScale.h"

#include <QTest>

#include <limits>

class TestNiceScale : public QObject
{
    Q_OBJECT

private slots:
    void stepsAreRound_data()
    {
        QTest::addColumn<double>("span");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("decimals");
        QTest::newRow("8 parts of 1 exactly") << 8.0 << 0.0 << 1.0 << 0;
        QTest::newRow("10: 1.25 rounds up to 2") << 10.0 << 0.0 << 2.0 << 0;
        QTest::newRow("44: 5.5 rounds up to 10") << 44.0 << 0.0 << 10.0 << 0;
        QTest::newRow("0.4: 0.05") << 0.4 << 0.0 << 0.05 << 2;
        QTest::newRow("0.004: 0.0005") << 0.004 << 0.0 << 0.0005 << 4;
        QTest::newRow("whole numbers only") << 3.0 << 1.0 << 1.0 << 0;
        QTest::newRow("no span") << 0.0 << 0.0 << 1.0 << 0;
        QTest::newRow("infinite span") << std::numeric_limits<double>::infinity() << 0.0 << 1.0 << 0;
    }

    void stepsAreRound()
    {
        QFETCH(double, span);
        QFETCH(double, minimum);
        QFETCH(double, step);
        QFETCH(int, decimals);
        QCOMPARE(NiceScale::step(span, minimum), step);
        QCOMPARE(NiceScale::decimals(step), decimals);
    }

    // 0.3 / 0.05 and 1.2 / 0.2 fall just short of whole numbers in floating
    // point; they must not widen the range by a step.
    void rangesWidenToTheNearestTicks_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<QList<double>>("range");
        QTest::newRow("-4 to 40") << -4.0 << 40.0 << QList<double>{-10, 40, 10};
        QTest::newRow("-2.5 to 2.5") << -2.5 << 2.5 << QList<double>{-3, 3, 1};
        QTest::newRow("1 to 17") << 1.0 << 17.0 << QList<double>{0, 18, 2};
        QTest::newRow("0 to 1.2") << 0.0 << 1.2 << QList<double>{0, 1.2, 0.2};
        QTest::newRow("0.3 to 0.7") << 0.3 << 0.7 << QList<double>{0.3, 0.7, 0.05};
        QTest::newRow("a single value") << 5.0 << 5.0 << QList<double>{5, 6, 0.2};
    }

    void rangesWidenToTheNearestTicks()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(QList<double>, range);
        const NiceScale::Range r = NiceScale::bracket(min, max);
        QCOMPARE((QList<double>{r.min, r.max, r.step}), range);
    }
};

QTEST_APPLESS_MAIN(TestNiceScale)
#include "tst_nicescale.moc"
