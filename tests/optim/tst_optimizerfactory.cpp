// The optimizer factory and its settings records.
#include "optim/FletchOptimizer.h"
#include "optim/FletchSettings.h"
#include "optim/NRError.h"
#include "optim/OptimizerFactory.h"
#include "optim/PowellOptimizer.h"
#include "optim/SimplexOptimizer.h"
#include "optim/SimplexSettings.h"

#include <QTest>

using zav::OptimizerFactory;

Q_DECLARE_METATYPE(zav::OptimizerFactory::OptimizerType)


class TestOptimizerFactory : public QObject
{
    Q_OBJECT

private slots:
    // Must stay the first test: the factory is a process-wide singleton.
    void freshFactoryHasNoOptimizer();
    void settingsRecordsStartAtTheirDefaults();
    void typeCreatesItsOptimizer_data();
    void typeCreatesItsOptimizer();
    void switchingTypesLeavesExactlyOneOptimizerAlive();
    void simplexTakesTheRecordsWhenConfigured();
    void configuredOptimizerCopiesTheCurrentSettings();
    void nrErrorCodeMarksThePlainIterationMessage_data();
    void nrErrorCodeMarksThePlainIterationMessage();
    void cleanup();
};

void TestOptimizerFactory::freshFactoryHasNoOptimizer()
{
    OptimizerFactory &factory = OptimizerFactory::instance();
    QCOMPARE(int(factory.optimizerType()), 3);
    QVERIFY(factory.configuredOptimizer() == nullptr);
    QCOMPARE(&OptimizerFactory::instance(), &factory);
}

void TestOptimizerFactory::settingsRecordsStartAtTheirDefaults()
{
    const zav::SimplexSettings &simplex = zav::SimplexSettings::instance();
    QCOMPARE(simplex.fractionalTolerance, 3e-8);
    QCOMPARE(simplex.maxFuncEvaluations, 5000);
    QCOMPARE(simplex.stepSize, 0.1);
    const zav::FletchSettings &fletch = zav::FletchSettings::instance();
    QCOMPARE(fletch.precision, 1e-6);
    QCOMPARE(fletch.stepSize, 1e-6);
    QCOMPARE(fletch.maxIterations, 200);
}

void TestOptimizerFactory::typeCreatesItsOptimizer_data()
{
    QTest::addColumn<OptimizerFactory::OptimizerType>("type");
    QTest::addColumn<QByteArray>("className");
    QTest::newRow("Powell") << OptimizerFactory::Powell << QByteArray("zav::PowellOptimizer");
    QTest::newRow("Fletch") << OptimizerFactory::Fletch << QByteArray("zav::FletchOptimizer");
    QTest::newRow("Simplex") << OptimizerFactory::Simplex << QByteArray("zav::SimplexOptimizer");
    QTest::newRow("none") << OptimizerFactory::NoOptimizer << QByteArray();
}

void TestOptimizerFactory::typeCreatesItsOptimizer()
{
    QFETCH(OptimizerFactory::OptimizerType, type);
    QFETCH(QByteArray, className);
    OptimizerFactory &factory = OptimizerFactory::instance();
    factory.setOptimizerType(type);
    QCOMPARE(factory.optimizerType(), type);
    zav::AbstractOptimizer *optimizer = factory.configuredOptimizer();
    if (className.isEmpty()) {
        QVERIFY(optimizer == nullptr);
    } else {
        QVERIFY(optimizer);
        QCOMPARE(QByteArray(optimizer->metaObject()->className()), className);
    }
}

void TestOptimizerFactory::switchingTypesLeavesExactlyOneOptimizerAlive()
{
    OptimizerFactory &factory = OptimizerFactory::instance();
    int alive = 0;
    auto track = [&alive](QObject *object) {
        ++alive;
        QObject::connect(object, &QObject::destroyed, [&alive] { --alive; });
    };
    factory.setOptimizerType(OptimizerFactory::Powell);
    track(factory.currentOptimizer());
    factory.setOptimizerType(OptimizerFactory::Simplex);
    track(factory.currentOptimizer());
    factory.setOptimizerType(OptimizerFactory::Fletch);
    track(factory.currentOptimizer());
    QCOMPARE(alive, 1);
    factory.setOptimizerType(OptimizerFactory::NoOptimizer);
    QCOMPARE(alive, 0);
}

void TestOptimizerFactory::simplexTakesTheRecordsWhenConfigured()
{
    zav::SimplexSettings &settings = zav::SimplexSettings::instance();
    settings.stepSize = 0.25;
    OptimizerFactory &factory = OptimizerFactory::instance();
    factory.setOptimizerType(OptimizerFactory::Simplex);
    auto *simplex = qobject_cast<zav::SimplexOptimizer *>(factory.currentOptimizer());
    QVERIFY(simplex);
    // A new optimizer has the method's defaults; the records reach it only
    // through configuredOptimizer (a workspace's settings, through
    // OptimizerSettings::createOptimizer).
    QCOMPARE(simplex->stepSize, zav::SimplexSettings::defaultStepSize);
    settings.stepSize = 0.5;
    settings.maxFuncEvaluations = 77;
    settings.fractionalTolerance = 1e-4;
    QCOMPARE(factory.configuredOptimizer(), static_cast<zav::AbstractOptimizer *>(simplex));
    QCOMPARE(simplex->stepSize, 0.5);
    QCOMPARE(simplex->maxFuncEvaluations, 77);
    QCOMPARE(simplex->fractionalTolerance, 1e-4);
}

void TestOptimizerFactory::configuredOptimizerCopiesTheCurrentSettings()
{
    OptimizerFactory &factory = OptimizerFactory::instance();
    factory.setOptimizerType(OptimizerFactory::Fletch);
    zav::FletchSettings &settings = zav::FletchSettings::instance();
    settings.maxIterations = 17;
    settings.precision = 1e-9;
    settings.stepSize = 1e-3;
    auto *fletch = qobject_cast<zav::FletchOptimizer *>(factory.configuredOptimizer());
    QVERIFY(fletch);
    QCOMPARE(fletch->engine().maxIterations, 17);
    QCOMPARE(fletch->engine().precision, 1e-9);
    QCOMPARE(fletch->engine().stepSize, 1e-3);
}

void TestOptimizerFactory::nrErrorCodeMarksThePlainIterationMessage_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("code");
    QTest::newRow("plain") << QByteArray("Maximum number of iterations exceeded") << 0;
    QTest::newRow("fletch") << QByteArray("Maximum number of iterations exceeded in fletch") << 1;
    QTest::newRow("brent") << QByteArray("brent:  Invalid seeds") << 1;
    QTest::newRow("hessian") << QByteArray("Singular Hessian in calculating covariance matrix") << 1;
}

void TestOptimizerFactory::nrErrorCodeMarksThePlainIterationMessage()
{
    QFETCH(QByteArray, message);
    QFETCH(int, code);
    const NR3::NRError error(message.constData());
    QCOMPARE(error.code, code);
    QCOMPARE(QByteArray(error.message), message);
}

void TestOptimizerFactory::cleanup()
{
    zav::SimplexSettings::instance() = zav::SimplexSettings();
    zav::FletchSettings::instance() = zav::FletchSettings();
}

QTEST_GUILESS_MAIN(TestOptimizerFactory)
#include "tst_optimizerfactory.moc"
