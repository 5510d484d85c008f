// The dimension of the minimum sufficient statistic and when it decides
// whether all parameters can be estimated.
#include "TestModel.h"

#include "likelihood/Estimability.h"

#include <QTest>

// The probability formulas of each multinomial likelihood, one list per likelihood.
using Likelihoods = QList<QStringList>;

namespace {

TestModel multinomials(const QStringList &parameters, const Likelihoods &likelihoods)
{
    TestModel model(parameters);
    int label = 0;
    for (const QStringList &probabilities : likelihoods) {
        const int id = model.addMultinomial(QString("Likelihood %1").arg(model.bound().likelihoodCount() + 1));
        for (const QString &probability : probabilities)
            model.addCategory(id, QString("c%1").arg(label++), probability);
    }
    return model;
}

} // namespace

class TestEstimability : public QObject
{
    Q_OBJECT

private slots:
    void dimensionIsTheRankOfTermsAndTotalsMinusTheLikelihoods_data()
    {
        QTest::addColumn<QStringList>("parameters");
        QTest::addColumn<Likelihoods>("likelihoods");
        QTest::addColumn<int>("dimension");
        QTest::addColumn<bool>("moreParametersThanEstimable");

        // Keys a, b, 1-b, 1-a: a 3 x 4 matrix of rank 3.
        QTest::newRow("a*b, a*(1-b), 1-a") << QStringList{"a", "b"}
                                           << Likelihoods{{"a * b", "a * (1 - b)", "1 - a"}} << 2 << false;
        QTest::newRow("q in no formula") << QStringList{"p", "q"} << Likelihoods{{"p", "1 - p"}} << 1 << true;
        QTest::newRow("every likelihood counts once") << QStringList{"p", "q"}
                                                      << Likelihoods{{"p", "1 - p"}, {"q", "1 - q"}} << 2 << false;
        // Keys a, b and 1/c in every row: rank 1.
        QTest::newRow("the same product in every category") << QStringList{"a", "b", "c"}
                                                            << Likelihoods{{"a * b / c", "a * b / c"}} << 0 << true;
        // Two groups with one p: their totals are fixed, p's statistic is
        // the sum of the successes, dimension 1 (the term columns alone, of
        // rank 2, would give 0).
        QTest::newRow("two likelihoods share p") << QStringList{"p"} << Likelihoods{{"p", "1 - p"}, {"p", "1 - p"}}
                                                 << 1 << false;
        // The constant category's count varies freely: (n1, n2) is the
        // statistic.
        QTest::newRow("a constant category counts") << QStringList{"p"}
                                                    << Likelihoods{{"p / 2", "(1 - p) / 2", "1 / 2"}} << 2 << false;
        QTest::newRow("a category of probability 0 has no row") << QStringList{"p"}
                                                                << Likelihoods{{"p", "1 - p", "0"}} << 1 << false;
        QTest::newRow("only constant probabilities: the total alone") << QStringList{}
                                                                      << Likelihoods{{"0.5", "0.5"}} << 0 << false;
        QTest::newRow("no categories: no rows") << QStringList{"p"} << Likelihoods{{}} << -1 << true;
        QTest::newRow("no likelihoods") << QStringList{"p"} << Likelihoods{} << 0 << true;
    }

    void dimensionIsTheRankOfTermsAndTotalsMinusTheLikelihoods()
    {
        QFETCH(QStringList, parameters);
        QFETCH(Likelihoods, likelihoods);
        QFETCH(int, dimension);
        QFETCH(bool, moreParametersThanEstimable);
        TestModel model = multinomials(parameters, likelihoods);
        const pelk::ModelDefinition &bound = model.bound();
        QVERIFY(pelk::isEstimabilityDecidable(bound));
        QCOMPARE(pelk::sufficientStatisticDimension(bound), dimension);
        QCOMPARE(pelk::sufficientStatisticDimension(bound) < bound.parameterCount(), moreParametersThanEstimable);
    }

    void convenienceFunctionContributesTheTermsOfItsFormula()
    {
        // f = a * b gives the keys a and b; g = a + b the single key a+b.
        TestModel model({"a", "b"});
        model.addFunction("f", "a * b");
        model.addFunction("g", "a + b");
        const int id = model.addMultinomial("L");
        model.addCategory(id, "x", "f");
        model.addCategory(id, "y", "a");
        model.addCategory(id, "z", "g");
        QCOMPARE(pelk::sufficientStatisticDimension(model.bound()), 3 - 1);
    }

    void normalLikelihoodCountsButAddsNoRows()
    {
        TestModel model = coinAndMeasurement();
        QCOMPARE(pelk::sufficientStatisticDimension(model.bound()), 2 - 2);
    }

    void decidableOnlyWithoutUnobservedCategoriesAndNormalLikelihoods()
    {
        TestModel withUnobserved({"p", "N"});
        const int first = withUnobserved.addMultinomial("plain");
        withUnobserved.addCategory(first, "a", "p");
        withUnobserved.addCategory(first, "b", "1 - p");
        QVERIFY(pelk::isEstimabilityDecidable(withUnobserved.bound()));
        const int second = withUnobserved.addMultinomial("survey");
        withUnobserved.addCategory(second, "seen", "p");
        withUnobserved.setUnobserved(second, "N", "1 - p");
        QVERIFY(!pelk::isEstimabilityDecidable(withUnobserved.bound()));

        TestModel withNormal({"mu", "sigma"});
        withNormal.addNormal("measurement", "5", "mu", "sigma");
        QVERIFY(!pelk::isEstimabilityDecidable(withNormal.bound()));

        TestModel empty({});
        QVERIFY(pelk::isEstimabilityDecidable(empty.bound()));
    }
};

QTEST_APPLESS_MAIN(TestEstimability)
#include "tst_estimability.moc"
