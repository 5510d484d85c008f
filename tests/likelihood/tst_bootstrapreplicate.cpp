// The replicate generator against the distributions it must draw from:
// totals exact, cell means and variances of many draws within a few
// standard errors of the closed forms, the same draws for the same (S, i).
#include "TestModel.h"

#include "likelihood/BootstrapReplicate.h"

#include <QTest>

#include <cmath>

class TestBootstrapReplicate : public QObject
{
    Q_OBJECT

private slots:
    void drawsFromTheFittedDistribution();
};

void TestBootstrapReplicate::drawsFromTheFittedDistribution()
{
    // A die of three faces with n = 100 throws; a study of N = 200 animals
    // seen with chance 0.6 (110 seen in the data); a measurement of expected
    // value 4 and standard error 0.5.
    TestModel built({QStringLiteral("pa"), QStringLiteral("pb"), QStringLiteral("N"), QStringLiteral("q"),
                     QStringLiteral("mu")});
    const int die = built.addMultinomial(QStringLiteral("die"));
    built.addCategory(die, QStringLiteral("a"), QStringLiteral("pa"));
    built.addCategory(die, QStringLiteral("b"), QStringLiteral("pb"));
    built.addCategory(die, QStringLiteral("c"), QStringLiteral("1-pa-pb"));
    const int study = built.addMultinomial(QStringLiteral("study"));
    built.addCategory(study, QStringLiteral("seen"), QStringLiteral("q"));
    built.setUnobserved(study, QStringLiteral("N"), QStringLiteral("1-q"));
    built.addNormal(QStringLiteral("measurement"), QStringLiteral("7"), QStringLiteral("mu"), QStringLiteral("0.5"));
    const QMap<QString, int> counts{{QStringLiteral("a"), 20}, {QStringLiteral("b"), 50}, {QStringLiteral("c"), 30},
                                    {QStringLiteral("seen"), 110}};
    const pelk::BootstrapReplicate generator(built.bound(), counts, {0.2, 0.3, 199.6, 0.6, 4.0});

    constexpr int draws = 4000;
    const QStringList labels{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("seen")};
    const double expectedMean[] = {20.0, 30.0, 50.0, 120.0};
    const double expectedVariance[] = {100 * 0.2 * 0.8, 100 * 0.3 * 0.7, 100 * 0.5 * 0.5, 200 * 0.6 * 0.4};
    double sum[5] = {}, sumOfSquares[5] = {};
    for (int i = 1; i <= draws; ++i) {
        const auto data = generator.draw(17, i);
        QCOMPARE(data.counts.size(), 4);
        QCOMPARE(data.counts.value(QStringLiteral("a")) + data.counts.value(QStringLiteral("b"))
                     + data.counts.value(QStringLiteral("c")),
                 100);
        // N rounds to 200; the unseen are dropped, the seen given as n*.
        QCOMPARE(data.abundanceTotals.size(), std::size_t(1));
        QCOMPARE(data.abundanceTotals[0].first, 2);
        QCOMPARE(data.abundanceTotals[0].second, std::int64_t(data.counts.value(QStringLiteral("seen"))));
        QCOMPARE(data.normalObservations.size(), std::size_t(1));
        QCOMPARE(data.normalObservations[0].first, 2);
        for (int k = 0; k < 5; ++k) {
            const double x = k < 4 ? data.counts.value(labels[k]) : data.normalObservations[0].second;
            sum[k] += x;
            sumOfSquares[k] += x * x;
        }
    }
    for (int k = 0; k < 5; ++k) {
        const double mean = k < 4 ? expectedMean[k] : 4.0;
        const double variance = k < 4 ? expectedVariance[k] : 0.25;
        const double sampleMean = sum[k] / draws;
        const double sampleVariance = sumOfSquares[k] / draws - sampleMean * sampleMean;
        // Four standard errors: the mean's is sqrt(v / R), the variance's
        // about v sqrt(2 / R) for these near-normal counts.
        QVERIFY2(std::abs(sampleMean - mean) < 4.0 * std::sqrt(variance / draws), qPrintable(labels.value(k)));
        QVERIFY2(std::abs(sampleVariance - variance) < 4.0 * variance * std::sqrt(2.0 / draws),
                 qPrintable(labels.value(k)));
    }
    // A replicate is its (seed, number) alone.
    QCOMPARE(generator.draw(17, 9).counts, generator.draw(17, 9).counts);
    QVERIFY(generator.draw(17, 9).counts != generator.draw(18, 9).counts);
}

QTEST_GUILESS_MAIN(TestBootstrapReplicate)
#include "tst_bootstrapreplicate.moc"
