// log Gamma: agreement with the C library's lgamma, the exact zeros at 1
// and 2, log-factorials, and the refusal of non-positive arguments.
#include "likelihood/Gammln.h"
#include "optim/NRError.h"

#include <QTest>

#include <cmath>

class TestGammln : public QObject
{
    Q_OBJECT

private slots:
    void agreesWithLgammaOnAGrid_data()
    {
        QTest::addColumn<double>("x");
        // lgamma has zeros at 1 and 2, where a relative comparison means
        // nothing; those two are checked on their own.
        for (double x : {1e-10, 1e-3, 0.1, 0.5, 0.75, 1.5, 2.5, 3.0, 3.25, 7.5, 11.0, 20.5, 100.0, 1234.5, 1e5,
                         1e10, 1e15, 1e100})
            QTest::newRow(qPrintable(QString::number(x))) << x;
    }

    void agreesWithLgammaOnAGrid()
    {
        QFETCH(double, x);
        const double expected = std::lgamma(x);
        const double actual = zav::gammln(x);
        QVERIFY2(std::abs(actual - expected) <= 1e-14 * std::abs(expected),
                 qPrintable(QString("gammln %1, lgamma %2").arg(actual, 0, 'g', 17).arg(expected, 0, 'g', 17)));
    }

    void isZeroAtOneAndTwo()
    {
        QVERIFY(std::abs(zav::gammln(1.0)) <= 1e-15);
        QVERIFY(std::abs(zav::gammln(2.0)) <= 1e-15);
    }

    void givesLogFactorialsOfCounts()
    {
        // log n! = gammln(n + 1), the form in which the likelihood uses it.
        double factorial = 1.0;
        for (int n = 1; n <= 20; ++n) {
            factorial *= n;
            QVERIFY2(std::abs(zav::gammln(n + 1.0) - std::log(factorial)) <= 1e-14 * std::log(factorial) + 1e-15,
                     qPrintable(QString::number(n)));
        }
    }

    void throwsForNonPositiveArguments_data()
    {
        QTest::addColumn<double>("x");
        QTest::newRow("0") << 0.0;
        QTest::newRow("-0") << -0.0;
        QTest::newRow("-1") << -1.0;
        QTest::newRow("-0.5") << -0.5;
    }

    void throwsForNonPositiveArguments()
    {
        QFETCH(double, x);
        try {
            zav::gammln(x);
            QFAIL("no exception");
        } catch (const NR3::NRError &error) {
            QCOMPARE(QString(error.message), QString("bad arg in gammln"));
            QCOMPARE(error.code, 1);
        }
    }
};

QTEST_APPLESS_MAIN(TestGammln)
#include "tst_gammln.moc"
