// The optimizer settings file: method, the two options and the method's
// settings, read into and written from a workspace's optimizer settings.
#include "IoTestSupport.h"

#include <QtTest/QtTest>

using iotest::Kind;
using Factory = zav::OptimizerFactory;

namespace {

const QByteArray flags = "usePreviousEstimatesAsSeeds = no, calculateCovariance = yes";

} // namespace

class TestOptimizerSection : public QObject
{
    Q_OBJECT

private slots:
    // The error, and the section written from what was read (empty: not
    // checked).
    void readAndWrittenBack_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QByteArray>("written");
        const auto same = [](const char *name, const QByteArray &text) { QTest::newRow(name) << text << "" << text; };
        same("simplex as written", "\noptimizer\nsimplex, usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = no,\n"
                                   "fractionalTolerance = 3e-08,\nmaxFuncEvaluations = 5000,\nstepSize = 0.1;\n");
        same("fletch as written", "\noptimizer\nfletch, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes,\n"
                                  "maxIterations = 350,\nprecision = 1e-09,\nstepSize = 0.0001;\n");
        same("powell as written", "\noptimizer\npowell, usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = yes;\n");
        QTest::newRow("settings in any order, unnamed ones stay")
            << "optimizer\nfletch, " + flags + ", stepSize = 0.5, precision = 0.25;\n" << ""
            << QByteArray("\noptimizer\nfletch, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes,\n"
                          "maxIterations = 77,\nprecision = 0.25,\nstepSize = 0.5;\n");
        QTest::newRow("written to six digits")
            << "optimizer\nsimplex, " + flags + ", fractionalTolerance = 0.01, maxFuncEvaluations = 12,\n"
                                                "stepSize = 0.3333333333;\n"
            << "" << QByteArray("\noptimizer\nsimplex, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes,\n"
                                "fractionalTolerance = 0.01,\nmaxFuncEvaluations = 12,\nstepSize = 0.333333;\n");
        // Without a method only the keyword is written.
        QTest::newRow("a failure before the method sets none")
            << QByteArray("optimizer\nfletch, usePreviousEstimatesAsSeeds = yes;") << "\";\" - Unrecognized keyword, line 2"
            << QByteArray("\noptimizer\n");
        QTest::newRow("a failure in the settings keeps what was stored")
            << "optimizer\nfletch, " + flags + ", maxIterations = 12, precision = 1e-8, precision = 1e-9;"
            << "\"precision\" - Keyword specified twice, line 2"
            << QByteArray("\noptimizer\nfletch, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes,\n"
                          "maxIterations = 12,\nprecision = 1e-08,\nstepSize = 1e-06;\n");

        const auto fails = [](const char *name, const QByteArray &text, const char *failure) {
            QTest::newRow(name) << text << failure << QByteArray();
        };
        const QByteArray powell = "optimizer\npowell, ";
        const QByteArray fletch = "optimizer\nfletch, " + flags;
        const QByteArray simplex = "optimizer\nsimplex, " + flags;
        fails("unknown method", "optimizer\nnewton, " + flags + ";", "\"newton\" - Unrecognized keyword, line 2");
        fails("method is case-sensitive", "optimizer\nPowell, " + flags + ";", "\"Powell\" - Unrecognized keyword, line 2");
        fails("keyword only", "optimizer\n", "\"\" - Unrecognized keyword");
        fails("wrong keyword", "optimiser\npowell, " + flags + ";", "\"optimiser\" - Unexpected characters, line 1");
        fails("no , after method", "optimizer\npowell " + flags + ";", "\"usePreviousEstimatesAsSeeds\" - Unexpected characters, line 2");
        fails("method ends the file", "optimizer\npowell", "\"\" - Unexpected characters");
        fails("first setting is calculateCovariance", powell + "calculateCovariance = yes, usePreviousEstimatesAsSeeds = yes;", "\"calculateCovariance\" - Unrecognized keyword, line 2");
        fails("flag not yes or no", powell + "usePreviousEstimatesAsSeeds = maybe, calculateCovariance = yes;", "\"maybe\" - illegal value, line 2");
        fails("flag is case-sensitive", powell + "usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = Yes;", "\"Yes\" - illegal value, line 3");
        fails("empty flag", powell + "usePreviousEstimatesAsSeeds = , calculateCovariance = yes;", "\",\" - illegal value, line 2");
        fails("empty second flag", powell + "usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = ;", "\";\" - illegal value, line 3");
        fails("only one option", powell + "usePreviousEstimatesAsSeeds = yes;", "\";\" - Unrecognized keyword, line 2");
        fails("first option twice", powell + "usePreviousEstimatesAsSeeds = yes, usePreviousEstimatesAsSeeds = no;", "\"usePreviousEstimatesAsSeeds\" - Unrecognized keyword, line 2");
        fails("option list ends the file", powell + "usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance", "\"calculateCovariance\" - Unexpected end of file, line 3");
        fails("option list without ;", powell + "usePreviousEstimatesAsSeeds = yes, calculateCovariance = yes", "\"\" - Unexpected end of file");
        fails("fletch: iterations not an int", fletch + ", maxIterations = 2.5;", "\"2.5\" - Illegal max. iterations value, line 2");
        fails("fletch: empty iterations", fletch + ", maxIterations = ;", "\";\" - Illegal max. iterations value, line 2");
        fails("fletch: precision", fletch + ",\nprecision = x;", "\"x\" - Illegal precision, line 3");
        fails("fletch: step size", fletch + ",\nstepSize = nan;", "\"nan\" - Illegal step size, line 3");
        fails("fletch: empty step size", fletch + ",\nstepSize = ,\nprecision = 1;", "\",\" - Illegal step size, line 3");
        fails("fletch: keyword twice", fletch + ", precision = 1e-8,\nprecision = 1e-9;", "\"precision\" - Keyword specified twice, line 3");
        fails("fletch: simplex keyword", fletch + ", fractionalTolerance = 1;", "\"fractionalTolerance\" - Unrecognized keyword, line 2");
        fails("fletch: option repeated", fletch + ", calculateCovariance = yes;", "\"calculateCovariance\" - Unrecognized keyword, line 2");
        fails("simplex: tolerance", simplex + ", fractionalTolerance = small;", "\"small\" - illegal value, line 2");
        fails("simplex: evaluations not an int", simplex + ", maxFuncEvaluations = 1e3;", "\"1e3\" - illegal value, line 2");
        fails("simplex: empty step size", simplex + ", stepSize = ;", "\";\" - illegal value, line 2");
        fails("simplex: keyword twice", simplex + ", stepSize = 1, stepSize = 2;", "\"stepSize\" - Keyword specified twice, line 2");
        fails("simplex: fletch keyword", simplex + ", precision = 1;", "\"precision\" - Unrecognized keyword, line 2");
        fails("settings entry ends the file", simplex + ",\nstepSize", "\"stepSize\" - Unexpected end of file, line 3");
    }

    void readAndWrittenBack()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, written);
        // Options and settings that no file here writes: what a file does
        // not set keeps its value.
        pelk::Workspace ws;
        ws.usePreviousEstimatesAsSeeds = true;
        ws.optimizer.fletch.maxIterations = 77;
        ws.optimizer.simplex.stepSize = 0.7;
        QTEST(iotest::readFailure(Kind::Optimizer, text, ws), "failure");
        if (!written.isEmpty())
            QCOMPARE(iotest::written(Kind::Optimizer, ws), written);
    }

    void powellIgnoresFurtherEntries()
    {
        pelk::Workspace ws;
        QCOMPARE(iotest::readFailure(Kind::Optimizer, "optimizer\npowell, " + flags + ", stepSize = 7;\n", ws),
                 QString());
        QCOMPARE(ws.optimizer.type, Factory::Powell);
        QCOMPARE(ws.optimizer.simplex.stepSize, zav::SimplexSettings::defaultStepSize);
        QCOMPARE(ws.optimizer.fletch.stepSize, zav::FletchSettings::defaultStepSize);
    }
};

QTEST_GUILESS_MAIN(TestOptimizerSection)
#include "tst_optimizersection.moc"
