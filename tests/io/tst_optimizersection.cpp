// The optimizer settings file: method, the two options and the method's
// settings, read into and written from a workspace's optimizer settings.
#include "IoTestSupport.h"

#include "expr/ParseError.h"
#include "io/FileWriter.h"
#include "io/PelkFileReader.h"
#include "optim/OptimizerSettings.h"

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
    zav::OptimizerSettings optimizer;
};

// Reads into `start`: what the file does not set keeps its value there.
Outcome readSettings(const QByteArray &text, bool usePrevious = false, bool covariance = false,
                     const zav::OptimizerSettings &start = zav::OptimizerSettings())
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("optimizer.txt"), text);
    Outcome outcome {QString(), usePrevious, covariance, start};
    try {
        pelk::PelkFileReader().readOptimizerSettings(path, outcome.usePrevious, outcome.covariance, outcome.optimizer);
    } catch (const zav::ParseError &e) {
        outcome.failure = iotest::descriptionInFile(e, path);
    }
    return outcome;
}

QByteArray written(bool usePrevious, bool covariance, const zav::OptimizerSettings &optimizer)
{
    TempFiles files;
    return files.writeWith(QStringLiteral("out.txt"), [&](pelk::FileWriter &w) {
        w.writeOptimizerSettings(usePrevious, covariance, optimizer);
    });
}

const QByteArray flags = "usePreviousEstimatesAsSeeds = no, calculateCovariance = yes";

} // namespace

class TestOptimizerSection : public QObject
{
    Q_OBJECT

private slots:

    void simplexExampleRoundTrips();
    void fletchRoundTrips();
    void powellRoundTrips();
    void noOptimizerWritesTheKeywordOnly();
    void writerUsesTheGivenSettings();
    void powellIgnoresFurtherEntries();
    void settingsMayComeInAnyOrderAndUnnamedOnesStay();
    void failures_data();
    void failures();
    void failureBeforeTheTypeSetsNoMethod();
    void failureInTheSettingsKeepsWhatWasStored();
};

void TestOptimizerSection::simplexExampleRoundTrips()
{
    const QByteArray example = "\noptimizer\nsimplex, usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = no,\n"
                               "fractionalTolerance = 3e-08,\nmaxFuncEvaluations = 5000,\nstepSize = 0.1;\n";
    zav::OptimizerSettings start;
    start.simplex.stepSize = 0.7;
    const Outcome outcome = readSettings(example, false, false, start);
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(outcome.usePrevious, true);
    QCOMPARE(outcome.covariance, false);
    QCOMPARE(outcome.optimizer.type, Factory::Simplex);
    QCOMPARE(outcome.optimizer.simplex.stepSize, 0.1);
    QCOMPARE(outcome.optimizer.simplex.maxFuncEvaluations, 5000);
    QCOMPARE(written(outcome.usePrevious, outcome.covariance, outcome.optimizer), example);
}

void TestOptimizerSection::fletchRoundTrips()
{
    const QByteArray text = "\noptimizer\nfletch, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes,\n"
                            "maxIterations = 350,\nprecision = 1e-09,\nstepSize = 0.0001;\n";
    const Outcome outcome = readSettings(text, true, false);
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(outcome.usePrevious, false);
    QCOMPARE(outcome.covariance, true);
    QCOMPARE(outcome.optimizer.type, Factory::Fletch);
    QCOMPARE(outcome.optimizer.fletch.maxIterations, 350);
    QCOMPARE(outcome.optimizer.fletch.precision, 1e-9);
    QCOMPARE(outcome.optimizer.fletch.stepSize, 1e-4);
    QCOMPARE(written(outcome.usePrevious, outcome.covariance, outcome.optimizer), text);
}

void TestOptimizerSection::powellRoundTrips()
{
    const QByteArray text = "\noptimizer\npowell, usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = yes;\n";
    const Outcome outcome = readSettings(text);
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(outcome.optimizer.type, Factory::Powell);
    QCOMPARE(written(true, true, outcome.optimizer), text);
}

void TestOptimizerSection::noOptimizerWritesTheKeywordOnly()
{
    QCOMPARE(written(true, false, zav::OptimizerSettings()), QByteArray("\noptimizer\n"));
}

void TestOptimizerSection::writerUsesTheGivenSettings()
{
    zav::OptimizerSettings optimizer;
    optimizer.type = Factory::Simplex;
    optimizer.simplex.fractionalTolerance = 0.01;
    optimizer.simplex.maxFuncEvaluations = 12;
    optimizer.simplex.stepSize = 1.0 / 3.0;
    QCOMPARE(written(false, false, optimizer),
             QByteArray("\noptimizer\nsimplex, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = no,\n"
                        "fractionalTolerance = 0.01,\nmaxFuncEvaluations = 12,\nstepSize = 0.333333;\n"));
}

void TestOptimizerSection::powellIgnoresFurtherEntries()
{
    const Outcome outcome = readSettings("optimizer\npowell, usePreviousEstimatesAsSeeds = yes, "
                                         "calculateCovariance = yes, stepSize = 7;\n");
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(outcome.optimizer.type, Factory::Powell);
    QCOMPARE(outcome.optimizer.simplex.stepSize, zav::SimplexSettings::defaultStepSize);
    QCOMPARE(outcome.optimizer.fletch.stepSize, zav::FletchSettings::defaultStepSize);
}

void TestOptimizerSection::settingsMayComeInAnyOrderAndUnnamedOnesStay()
{
    zav::OptimizerSettings start;
    start.fletch.maxIterations = 77;
    const Outcome outcome
        = readSettings("optimizer\nfletch, " + flags + ", stepSize = 0.5, precision = 0.25;\n", false, false, start);
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(outcome.optimizer.fletch.maxIterations, 77);
    QCOMPARE(outcome.optimizer.fletch.stepSize, 0.5);
    QCOMPARE(outcome.optimizer.fletch.precision, 0.25);
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

void TestOptimizerSection::failureBeforeTheTypeSetsNoMethod()
{
    const Outcome outcome = readSettings("optimizer\nfletch, usePreviousEstimatesAsSeeds = yes;", false, false);
    QCOMPARE(outcome.failure, QStringLiteral("\";\" - Unrecognized keyword, line 2"));
    QCOMPARE(outcome.optimizer.type, Factory::NoOptimizer);
    QCOMPARE(outcome.usePrevious, true);  // read before the error
}

void TestOptimizerSection::failureInTheSettingsKeepsWhatWasStored()
{
    const Outcome outcome =
        readSettings("optimizer\nfletch, " + flags + ", maxIterations = 12, precision = 1e-8, precision = 1e-9;");
    QCOMPARE(outcome.failure, QStringLiteral("\"precision\" - Keyword specified twice, line 2"));
    QCOMPARE(outcome.optimizer.type, Factory::Fletch);
    QCOMPARE(outcome.optimizer.fletch.maxIterations, 12);
    QCOMPARE(outcome.optimizer.fletch.precision, 1e-8);
    QCOMPARE(outcome.covariance, true);
}

QTEST_GUILESS_MAIN(TestOptimizerSection)
#include "tst_optimizersection.moc"
