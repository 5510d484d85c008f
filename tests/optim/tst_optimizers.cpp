// The three minimisation methods through their common interface: each finds
// the minima known in closed form and reports its progress as the contract
// says; the factory makes them and hands them the settings records.
#include "RecordingFunc.h"
#include "TestFormulas.h"

#include "optim/FletchOptimizer.h"
#include "optim/NRError.h"
#include "optim/OptimizerSettings.h"
#include "optim/SimplexOptimizer.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace optimtest;
using zav::OptimizerFactory;

class TestOptimizers : public QObject
{
    Q_OBJECT

private slots:
    // Must stay the first test: the factory is process-wide.
    void freshFactoryHasNoOptimizerAndDefaultRecords()
    {
        OptimizerFactory &factory = OptimizerFactory::instance();
        QCOMPARE(factory.optimizerType(), OptimizerFactory::NoOptimizer);
        QVERIFY(factory.configuredOptimizer() == nullptr);
        QCOMPARE(&OptimizerFactory::instance(), &factory);
        const zav::SimplexSettings &simplex = zav::SimplexSettings::instance();
        QCOMPARE(simplex.fractionalTolerance, 3e-8);
        QCOMPARE(simplex.maxFuncEvaluations, 5000);
        QCOMPARE(simplex.stepSize, 0.1);
        const zav::FletchSettings &fletch = zav::FletchSettings::instance();
        QCOMPARE(fletch.precision, 1e-6);
        QCOMPARE(fletch.stepSize, 1e-6);
        QCOMPARE(fletch.maxIterations, 200);
    }

    void findsKnownMinima_data()
    {
        QTest::addColumn<OptimizerFactory::OptimizerType>("method");
        QTest::addColumn<Formula>("formula");
        QTest::addColumn<QList<double>>("start");
        QTest::addColumn<QList<double>>("minimum");
        QTest::addColumn<double>("value");
        const struct
        {
            const char *name;
            Formula formula;
            QList<double> start, minimum;
            double value;
        } problems[] = {
            {"shifted bowl", shiftedBowl, {3.0, 1.0}, {1.0, -2.0}, 5.0},
            {"shifted bowl from far away", shiftedBowl, {-30.0, 70.0}, {1.0, -2.0}, 5.0},
            {"Rosenbrock from (-1.2, 1)", rosenbrock, {-1.2, 1.0}, {1.0, 1.0}, 0.0},
            {"one parameter", exponentialValley, {3.0}, {std::log(2.0)}, 2.0 - 2.0 * std::log(2.0)},
            {"scales apart", scaledBowl, {1.0, 3.0, 300.0}, {-3.0, 0.5, 40.0}, -1.0}};
        for (const auto &[method, type] : {std::pair{"Powell", OptimizerFactory::Powell},
                                           {"Fletch", OptimizerFactory::Fletch},
                                           {"simplex", OptimizerFactory::Simplex}})
            for (const auto &p : problems)
                QTest::addRow("%s, %s", method, p.name)
                    << type << p.formula << p.start << p.minimum << p.value;
    }

    // Powell and Fletch report one begin with the start value and one end
    // with the value at the result, which they evaluate last; the simplex
    // reports nothing.
    void findsKnownMinima()
    {
        QFETCH(OptimizerFactory::OptimizerType, method);
        QFETCH(Formula, formula);
        QFETCH(QList<double>, start);
        QFETCH(QList<double>, minimum);
        QFETCH(double, value);
        zav::OptimizerSettings settings;
        settings.type = method;
        const std::unique_ptr<zav::AbstractOptimizer> optimizer = settings.createOptimizer();
        QSignalSpy begin(optimizer.get(), &zav::AbstractOptimizer::beginOptimization);
        QSignalSpy end(optimizer.get(), &zav::AbstractOptimizer::endOptimization);
        RecordingFunc function(formula);
        Point point = toPoint(start);
        int iterations = -1;
        optimizer->minimize(function, point, nullptr, iterations);

        // The simplex stops on the spread of its values, so its vertex is
        // only about sqrt(3e-8) from the minimum.
        const bool simplex = method == OptimizerFactory::Simplex;
        const double tolerance = simplex ? 1e-3 : method == OptimizerFactory::Fletch ? 1e-5 : 1e-4;
        QVERIFY2(maxDistance(point, minimum) < tolerance, qPrintable(QString::number(maxDistance(point, minimum))));
        QVERIFY(std::abs(formula(point) - value) < (simplex ? 1e-6 : 1e-9));
        QVERIFY(iterations > 1);
        if (simplex) {
            QVERIFY(begin.isEmpty() && end.isEmpty());
            return;
        }
        const QString name = method == OptimizerFactory::Powell ? "Powell" : "Fletch";
        QCOMPARE(QList<QVariantList>(begin), QList<QVariantList>({{name, formula(toPoint(start))}}));
        QCOMPARE(QList<QVariantList>(end), QList<QVariantList>({{name, formula(point), iterations}}));
        QCOMPARE(function.calls.back(), point);
    }

    void typeCreatesItsOptimizer_data()
    {
        QTest::addColumn<OptimizerFactory::OptimizerType>("type");
        QTest::addColumn<QByteArray>("className");
        QTest::newRow("Powell") << OptimizerFactory::Powell << QByteArray("zav::PowellOptimizer");
        QTest::newRow("Fletch") << OptimizerFactory::Fletch << QByteArray("zav::FletchOptimizer");
        QTest::newRow("Simplex") << OptimizerFactory::Simplex << QByteArray("zav::SimplexOptimizer");
        QTest::newRow("none") << OptimizerFactory::NoOptimizer << QByteArray();
    }

    void typeCreatesItsOptimizer()
    {
        QFETCH(OptimizerFactory::OptimizerType, type);
        QFETCH(QByteArray, className);
        OptimizerFactory &factory = OptimizerFactory::instance();
        factory.setOptimizerType(type);
        QCOMPARE(factory.optimizerType(), type);
        zav::AbstractOptimizer *optimizer = factory.configuredOptimizer();
        QCOMPARE(optimizer ? QByteArray(optimizer->metaObject()->className()) : QByteArray(), className);
    }

    void switchingTypesLeavesExactlyOneOptimizerAlive()
    {
        OptimizerFactory &factory = OptimizerFactory::instance();
        int alive = 0;
        for (auto type : {OptimizerFactory::Powell, OptimizerFactory::Simplex, OptimizerFactory::Fletch}) {
            factory.setOptimizerType(type);
            ++alive;
            QObject::connect(factory.currentOptimizer(), &QObject::destroyed, [&alive] { --alive; });
        }
        QCOMPARE(alive, 1);
        factory.setOptimizerType(OptimizerFactory::NoOptimizer);
        QCOMPARE(alive, 0);
    }

    // A new optimizer has the method's defaults; the records reach it only
    // through configuredOptimizer (a workspace's settings, through
    // OptimizerSettings::createOptimizer).
    void configuredOptimizerCopiesTheCurrentRecords()
    {
        zav::SimplexSettings &simplexRecord = zav::SimplexSettings::instance();
        simplexRecord.stepSize = 0.25;
        OptimizerFactory &factory = OptimizerFactory::instance();
        factory.setOptimizerType(OptimizerFactory::Simplex);
        auto *simplex = qobject_cast<zav::SimplexOptimizer *>(factory.currentOptimizer());
        QVERIFY(simplex);
        QCOMPARE(simplex->stepSize, zav::SimplexSettings::defaultStepSize);
        simplexRecord = {1e-4, 77, 0.5};
        QCOMPARE(factory.configuredOptimizer(), static_cast<zav::AbstractOptimizer *>(simplex));
        QCOMPARE(simplex->stepSize, 0.5);
        QCOMPARE(simplex->maxFuncEvaluations, 77);
        QCOMPARE(simplex->fractionalTolerance, 1e-4);

        factory.setOptimizerType(OptimizerFactory::Fletch);
        zav::FletchSettings::instance() = {1e-9, 1e-3, 17};
        auto *fletch = qobject_cast<zav::FletchOptimizer *>(factory.configuredOptimizer());
        QVERIFY(fletch);
        QCOMPARE(fletch->engine().maxIterations, 17);
        QCOMPARE(fletch->engine().precision, 1e-9);
        QCOMPARE(fletch->engine().stepSize, 1e-3);
    }

    void nrErrorCodeMarksThePlainIterationMessage_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("code");
        QTest::newRow("plain") << QByteArray("Maximum number of iterations exceeded") << 0;
        QTest::newRow("fletch") << QByteArray("Maximum number of iterations exceeded in fletch") << 1;
        QTest::newRow("brent") << QByteArray("brent:  Invalid seeds") << 1;
        QTest::newRow("hessian") << QByteArray("Singular Hessian in calculating covariance matrix") << 1;
    }

    void nrErrorCodeMarksThePlainIterationMessage()
    {
        QFETCH(QByteArray, message);
        QFETCH(int, code);
        const NR3::NRError error(message.constData());
        QCOMPARE(error.code, code);
        QCOMPARE(QByteArray(error.message), message);
    }

    void cleanup()
    {
        zav::SimplexSettings::instance() = zav::SimplexSettings();
        zav::FletchSettings::instance() = zav::FletchSettings();
    }
};

QTEST_GUILESS_MAIN(TestOptimizers)
#include "tst_optimizers.moc"
