// The optimizer settings file: method, the two options, the settings records
// and the optimizerChanged signal.
#include "IoTestSupport.h"

#include "expr/ParseError.h"
#include "io/FileWriter.h"
#include "io/PelkFileReader.h"

#include <QSignalSpy>
#include <QtTest/QtTest>

using iotest::TempFiles;
using Factory = zav::OptimizerFactory;

namespace {

struct Outcome
{
    QString failure;  // empty after a clean read
    bool usePrevious = false;
    bool covariance = false;
    QList<Factory::OptimizerType> announced;
};

Outcome readSettings(const QByteArray &text, bool usePrevious = false, bool covariance = false)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("optimizer.txt"), text);
    Outcome outcome;
    outcome.usePrevious = usePrevious;
    outcome.covariance = covariance;
    pelk::PelkFileReader reader;
    QSignalSpy spy(&reader, &pelk::PelkFileReader::optimizerChanged);
    try {
        reader.readOptimizerSettings(path, outcome.usePrevious, outcome.covariance);
    } catch (const zav::ParseError &e) {
        outcome.failure = iotest::descriptionInFile(e, path);
    }
    for (const QList<QVariant> &arguments : spy)
        outcome.announced.append(arguments.at(0).value<Factory::OptimizerType>());
    return outcome;
}

QByteArray written(bool usePrevious, bool covariance)
{
    TempFiles files;
    return files.writeWith(QStringLiteral("out.txt"), [&](pelk::FileWriter &w) {
        w.writeOptimizerSettings(usePrevious, covariance);
    });
}

const QByteArray flags = "usePreviousEstimatesAsSeeds = no, calculateCovariance = yes";

} // namespace

class TestOptimizerSection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void simplexExampleRoundTrips();
    void fletchRoundTrips();
    void powellRoundTrips();
    void noOptimizerWritesTheKeywordOnly();
    void writerUsesTheCurrentSettings();
    void powellIgnoresFurtherEntries();
    void settingsMayComeInAnyOrderAndUnnamedOnesStay();
    void failures_data();
    void failures();
    void failureBeforeTheTypeAnnouncesNothing();
    void failureInTheSettingsKeepsWhatWasStored();
};

void TestOptimizerSection::initTestCase()
{
    qRegisterMetaType<Factory::OptimizerType>();
}

void TestOptimizerSection::init()
{
    iotest::resetOptimizerState();
}

void TestOptimizerSection::cleanup()
{
    iotest::resetOptimizerState();
}

void TestOptimizerSection::simplexExampleRoundTrips()
{
    const QByteArray example = "\noptimizer\nsimplex, usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = no,\n"
                               "fractionalTolerance = 3e-08,\nmaxFuncEvaluations = 5000,\nstepSize = 0.1;\n";
    zav::SimplexSettings::instance().stepSize = 0.7;
    const Outcome outcome = readSettings(example);
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(outcome.usePrevious, true);
    QCOMPARE(outcome.covariance, false);
    QCOMPARE(outcome.announced, QList<Factory::OptimizerType>{Factory::Simplex});
    QCOMPARE(Factory::instance().optimizerType(), Factory::Simplex);
    QVERIFY(Factory::instance().currentOptimizer());
    QCOMPARE(zav::SimplexSettings::instance().stepSize, 0.1);
    QCOMPARE(zav::SimplexSettings::instance().maxFuncEvaluations, 5000);
    QCOMPARE(written(outcome.usePrevious, outcome.covariance), example);
}

void TestOptimizerSection::fletchRoundTrips()
{
    const QByteArray text = "\noptimizer\nfletch, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes,\n"
                            "maxIterations = 350,\nprecision = 1e-09,\nstepSize = 0.0001;\n";
    const Outcome outcome = readSettings(text, true, false);
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(outcome.usePrevious, false);
    QCOMPARE(outcome.covariance, true);
    QCOMPARE(outcome.announced, QList<Factory::OptimizerType>{Factory::Fletch});
    QCOMPARE(zav::FletchSettings::instance().maxIterations, 350);
    QCOMPARE(zav::FletchSettings::instance().precision, 1e-9);
    QCOMPARE(zav::FletchSettings::instance().stepSize, 1e-4);
    QCOMPARE(written(outcome.usePrevious, outcome.covariance), text);
}

void TestOptimizerSection::powellRoundTrips()
{
    const QByteArray text = "\noptimizer\npowell, usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = yes;\n";
    const Outcome outcome = readSettings(text);
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(outcome.announced, QList<Factory::OptimizerType>{Factory::Powell});
    QCOMPARE(Factory::instance().optimizerType(), Factory::Powell);
    QCOMPARE(written(true, true), text);
}

void TestOptimizerSection::noOptimizerWritesTheKeywordOnly()
{
    QCOMPARE(written(true, false), QByteArray("\noptimizer\n"));
}

void TestOptimizerSection::writerUsesTheCurrentSettings()
{
    Factory::instance().setOptimizerType(Factory::Simplex);
    zav::SimplexSettings::instance().fractionalTolerance = 0.01;
    zav::SimplexSettings::instance().maxFuncEvaluations = 12;
    zav::SimplexSettings::instance().stepSize = 1.0 / 3.0;
    QCOMPARE(written(false, false),
             QByteArray("\noptimizer\nsimplex, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = no,\n"
                        "fractionalTolerance = 0.01,\nmaxFuncEvaluations = 12,\nstepSize = 0.333333;\n"));
}

void TestOptimizerSection::powellIgnoresFurtherEntries()
{
    const Outcome outcome = readSettings("optimizer\npowell, usePreviousEstimatesAsSeeds = yes, "
                                         "calculateCovariance = yes, stepSize = 7;\n");
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(outcome.announced, QList<Factory::OptimizerType>{Factory::Powell});
    QCOMPARE(zav::SimplexSettings::instance().stepSize, zav::SimplexSettings::defaultStepSize);
    QCOMPARE(zav::FletchSettings::instance().stepSize, zav::FletchSettings::defaultStepSize);
}

void TestOptimizerSection::settingsMayComeInAnyOrderAndUnnamedOnesStay()
{
    zav::FletchSettings::instance().maxIterations = 77;
    const Outcome outcome = readSettings("optimizer\nfletch, " + flags + ", stepSize = 0.5, precision = 0.25;\n");
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(zav::FletchSettings::instance().maxIterations, 77);
    QCOMPARE(zav::FletchSettings::instance().stepSize, 0.5);
    QCOMPARE(zav::FletchSettings::instance().precision, 0.25);
}

void TestOptimizerSection::failures_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("description");
    const QByteArray powell = "optimizer\npowell, ";
    const QByteArray fletch = "optimizer\nfletch, " + flags;
    const QByteArray simplex = "optimizer\nsimplex, " + flags;

    QTest::newRow("unknown method") << QByteArray("optimizer\nnewton, " + flags + ";")
                                    << "\"newton\" - Unrecognized keyword, line 2";
    QTest::newRow("method is case-sensitive") << QByteArray("optimizer\nPowell, " + flags + ";")
                                              << "\"Powell\" - Unrecognized keyword, line 2";
    QTest::newRow("keyword only") << QByteArray("optimizer\n") << "\"\" - Unrecognized keyword";
    QTest::newRow("wrong keyword") << QByteArray("optimiser\npowell, " + flags + ";")
                                   << "\"optimiser\" - Unexpected characters, line 1";
    QTest::newRow("no , after method") << QByteArray("optimizer\npowell " + flags + ";")
                                       << "\"usePreviousEstimatesAsSeeds\" - Unexpected characters, line 2";
    QTest::newRow("method ends the file") << QByteArray("optimizer\npowell") << "\"\" - Unexpected characters";
    QTest::newRow("first setting is calculateCovariance")
        << powell + "calculateCovariance = yes, usePreviousEstimatesAsSeeds = yes;"
        << "\"calculateCovariance\" - Unrecognized keyword, line 2";
    QTest::newRow("flag not yes or no") << powell + "usePreviousEstimatesAsSeeds = maybe, calculateCovariance = yes;"
                                        << "\"maybe\" - illegal value, line 2";
    QTest::newRow("flag is case-sensitive") << powell + "usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = Yes;"
                                            << "\"Yes\" - illegal value, line 3";
    QTest::newRow("empty flag") << powell + "usePreviousEstimatesAsSeeds = , calculateCovariance = yes;"
                                << "\",\" - illegal value, line 2";
    QTest::newRow("empty second flag") << powell + "usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = ;"
                                       << "\";\" - illegal value, line 3";
    QTest::newRow("only one option") << powell + "usePreviousEstimatesAsSeeds = yes;"
                                     << "\";\" - Unrecognized keyword, line 2";
    QTest::newRow("first option twice") << powell + "usePreviousEstimatesAsSeeds = yes, usePreviousEstimatesAsSeeds = no;"
                                        << "\"usePreviousEstimatesAsSeeds\" - Unrecognized keyword, line 2";
    QTest::newRow("option list ends the file") << powell + "usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance"
                                               << "\"calculateCovariance\" - Unexpected end of file, line 3";
    QTest::newRow("option list without ;") << powell + "usePreviousEstimatesAsSeeds = yes, calculateCovariance = yes"
                                           << "\"\" - Unexpected end of file";
    QTest::newRow("fletch: iterations not an int") << fletch + ", maxIterations = 2.5;"
                                                   << "\"2.5\" - Illegal max. iterations value, line 2";
    QTest::newRow("fletch: empty iterations") << fletch + ", maxIterations = ;"
                                              << "\";\" - Illegal max. iterations value, line 2";
    QTest::newRow("fletch: precision") << fletch + ",\nprecision = x;" << "\"x\" - Illegal precision, line 3";
    QTest::newRow("fletch: step size") << fletch + ",\nstepSize = nan;" << "\"nan\" - Illegal step size, line 3";
    QTest::newRow("fletch: empty step size") << fletch + ",\nstepSize = ,\nprecision = 1;"
                                             << "\",\" - Illegal step size, line 3";
    QTest::newRow("fletch: keyword twice") << fletch + ", precision = 1e-8,\nprecision = 1e-9;"
                                           << "\"precision\" - Keyword specified twice, line 3";
    QTest::newRow("fletch: simplex keyword") << fletch + ", fractionalTolerance = 1;"
                                             << "\"fractionalTolerance\" - Unrecognized keyword, line 2";
    QTest::newRow("fletch: option repeated") << fletch + ", calculateCovariance = yes;"
                                             << "\"calculateCovariance\" - Unrecognized keyword, line 2";
    QTest::newRow("simplex: tolerance") << simplex + ", fractionalTolerance = small;"
                                        << "\"small\" - illegal value, line 2";
    QTest::newRow("simplex: evaluations not an int") << simplex + ", maxFuncEvaluations = 1e3;"
                                                     << "\"1e3\" - illegal value, line 2";
    QTest::newRow("simplex: empty step size") << simplex + ", stepSize = ;" << "\";\" - illegal value, line 2";
    QTest::newRow("simplex: keyword twice") << simplex + ", stepSize = 1, stepSize = 2;"
                                            << "\"stepSize\" - Keyword specified twice, line 2";
    QTest::newRow("simplex: fletch keyword") << simplex + ", precision = 1;"
                                             << "\"precision\" - Unrecognized keyword, line 2";
    QTest::newRow("settings entry ends the file") << simplex + ",\nstepSize"
                                                  << "\"stepSize\" - Unexpected end of file, line 3";
}

void TestOptimizerSection::failures()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, description);
    QCOMPARE(readSettings(text).failure, description);
}

void TestOptimizerSection::failureBeforeTheTypeAnnouncesNothing()
{
    const Outcome outcome = readSettings("optimizer\nfletch, usePreviousEstimatesAsSeeds = yes;", false, false);
    QCOMPARE(outcome.failure, QStringLiteral("\";\" - Unrecognized keyword, line 2"));
    QVERIFY(outcome.announced.isEmpty());
    QCOMPARE(Factory::instance().optimizerType(), Factory::NoOptimizer);
    QCOMPARE(outcome.usePrevious, true);  // read before the error
}

void TestOptimizerSection::failureInTheSettingsKeepsWhatWasStored()
{
    const Outcome outcome =
        readSettings("optimizer\nfletch, " + flags + ", maxIterations = 12, precision = 1e-8, precision = 1e-9;");
    QCOMPARE(outcome.failure, QStringLiteral("\"precision\" - Keyword specified twice, line 2"));
    QCOMPARE(outcome.announced, QList<Factory::OptimizerType>{Factory::Fletch});
    QCOMPARE(Factory::instance().optimizerType(), Factory::Fletch);
    QCOMPARE(zav::FletchSettings::instance().maxIterations, 12);
    QCOMPARE(zav::FletchSettings::instance().precision, 1e-8);
    QCOMPARE(outcome.covariance, true);
}

QTEST_GUILESS_MAIN(TestOptimizerSection)
#include "tst_optimizersection.moc"
