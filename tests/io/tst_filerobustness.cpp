// Cut-off and damaged input: every read ends in a clean result or in a
// zav::ParseError, never in a crash, a hang or another exception.
#include "IoTestSupport.h"

#include "expr/ParseError.h"
#include "expr/Tokenizer.h"
#include "io/PelkFileReader.h"
#include "io/TokenStream.h"
#include "io/Workspace.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"

#include <QtTest/QtTest>

#include <exception>
#include <functional>

using iotest::TempFiles;

namespace {

enum class Outcome { Clean, ParseError, OtherException };

using Read = std::function<void(const QString &path)>;

Outcome readOnce(TempFiles &files, const QByteArray &text, const Read &read)
{
    const QString path = files.write(QStringLiteral("input.txt"), text);
    try {
        read(path);
    } catch (const zav::ParseError &) {
        return Outcome::ParseError;
    } catch (...) {
        return Outcome::OtherException;
    }
    return Outcome::Clean;
}

void readWorkspace(const QString &path)
{
    pelk::Workspace().read(path);
}

void readModel(const QString &path)
{
    pelk::ModelDefinition model;
    QMap<QString, int> counts;
    pelk::PelkFileReader().readModelDefinition(path, model, counts);
}

// Byte offsets at which each token of the text starts and ends.
QList<int> tokenBoundaries(const QByteArray &bytes)
{
    const zav::Tokenizer tokenizer(pelk::TokenStream::defaultDelimiters(), pelk::TokenStream::defaultWhitespace(),
                                   QStringLiteral("#"));
    QList<int> cuts;
    int lineStart = 0;
    const QList<QByteArray> lines = bytes.split('\n');
    for (const QByteArray &line : lines) {
        for (const zav::Token &token : tokenizer.tokenize(QString::fromUtf8(line), 1)) {
            cuts.append(lineStart + token.column - 1);
            cuts.append(lineStart + token.column - 1 + int(token.text.size()));
        }
        lineStart += int(line.size()) + 1;
    }
    return cuts;
}

} // namespace

class TestFileRobustness : public QObject
{
    Q_OBJECT

private slots:
    void init() { iotest::resetOptimizerState(); }
    void cleanup() { iotest::resetOptimizerState(); }

    void everyPrefixOfTheWorkspace();
    void everyPrefixOfTheModelDefinition();
    void everyTokenCutOfTheWorkspace();
    void everyTokenCutOfTheModelDefinition();
    void everyPrefixOfTheSideFiles();
    void damagedWorkspaces_data();
    void damagedWorkspaces();
};

void TestFileRobustness::everyPrefixOfTheWorkspace()
{
    const QByteArray text = iotest::testDataBytes(QStringLiteral("workspace.txt"));
    QVERIFY(text.size() > 300);
    TempFiles files;
    int clean = 0;
    for (int n = 0; n <= text.size(); ++n) {
        const Outcome outcome = readOnce(files, text.left(n), readWorkspace);
        if (outcome == Outcome::OtherException)
            QFAIL(qPrintable(QStringLiteral("prefix of %1 bytes threw something else").arg(n)));
        if (outcome == Outcome::Clean)
            ++clean;
    }
    // At least the whole file and the cuts after the requests read cleanly.
    QVERIFY(clean > 1);
    QCOMPARE(readOnce(files, text, readWorkspace), Outcome::Clean);
}

void TestFileRobustness::everyPrefixOfTheModelDefinition()
{
    const QByteArray text = iotest::exampleBytes(QStringLiteral("model-definition.txt"));
    QVERIFY(text.size() > 150);
    TempFiles files;
    for (int n = 0; n <= text.size(); ++n) {
        const Outcome outcome = readOnce(files, text.left(n), readModel);
        if (outcome == Outcome::OtherException)
            QFAIL(qPrintable(QStringLiteral("prefix of %1 bytes threw something else").arg(n)));
    }
    QCOMPARE(readOnce(files, text, readModel), Outcome::Clean);
}

void TestFileRobustness::everyTokenCutOfTheWorkspace()
{
    const QByteArray text = iotest::testDataBytes(QStringLiteral("workspace.txt"));
    const QList<int> cuts = tokenBoundaries(text);
    QVERIFY(cuts.size() > 100);
    TempFiles files;
    for (int cut : cuts) {
        QCOMPARE(readOnce(files, text.left(cut), readWorkspace) == Outcome::OtherException, false);
        // The rest of the file after the cut, too: it starts in mid-section.
        QCOMPARE(readOnce(files, text.mid(cut), readWorkspace) == Outcome::OtherException, false);
    }
}

void TestFileRobustness::everyTokenCutOfTheModelDefinition()
{
    const QByteArray text = iotest::exampleBytes(QStringLiteral("model-definition.txt"));
    const QList<int> cuts = tokenBoundaries(text);
    QVERIFY(cuts.size() > 50);
    // The file is complete from the ";" that ends the first likelihood on
    // (the normal likelihood after it is optional); every shorter cut fails.
    const int firstComplete = int(text.indexOf("s;\n\nnormalLikelihood")) + 2;
    QVERIFY(firstComplete > 2);
    TempFiles files;
    for (int cut : cuts) {
        const Outcome outcome = readOnce(files, text.left(cut), readModel);
        QVERIFY(outcome != Outcome::OtherException);
        if (cut < firstComplete)
            QCOMPARE(outcome, Outcome::ParseError);
        QVERIFY(readOnce(files, text.mid(cut), readModel) != Outcome::OtherException);
    }
}

void TestFileRobustness::everyPrefixOfTheSideFiles()
{
    pelk::ModelDefinition model;
    {
        QMap<QString, int> counts;
        pelk::PelkFileReader().readModelDefinition(iotest::examplePath(QStringLiteral("model-definition.txt")),
                                                   model, counts);
    }
    const QList<QPair<QByteArray, Read>> files{
        {"\nseen once : 12\nseen twice : 7\n",
         [](const QString &path) {
             QMap<QString, int> counts{{"seen once", 0}, {"seen twice", 0}};
             pelk::PelkFileReader().readCategoryCounts(path, counts);
         }},
        {"\nparameterSeeds\ns = 0.5,\np = 0.25;\n",
         [&](const QString &path) {
             std::vector<double> seeds;
             pelk::PelkFileReader().readParameterSeeds(path, model, seeds);
         }},
        {"\nprofileLikelihoodRequests\np = 0.05,\nq = 0.10;\n\n",
         [&](const QString &path) {
             pelk::ProfileLikelihoods parameters;
             pelk::ProfileLikelihoods variables;
             pelk::PelkFileReader().readProfileLikelihoodRequests(path, model, parameters, variables);
         }},
        {"\noptimizer\nsimplex, usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = no,\n"
         "fractionalTolerance = 3e-08,\nmaxFuncEvaluations = 5000,\nstepSize = 0.1;\n",
         [](const QString &path) {
             bool a = false;
             bool b = false;
             pelk::PelkFileReader().readOptimizerSettings(path, a, b);
         }},
    };
    TempFiles temp;
    for (const auto &[text, read] : files) {
        for (int n = 0; n <= text.size(); ++n)
            QVERIFY(readOnce(temp, text.left(n), read) != Outcome::OtherException);
        QCOMPARE(readOnce(temp, text, read), Outcome::Clean);
    }
}

void TestFileRobustness::damagedWorkspaces_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("description");
    QTest::newRow("unbalanced quote") << QByteArray("\"Likelihood 1\"") << QByteArray("\"Likelihood 1")
                                      << "\"\" - Unexpected end of file";
    QTest::newRow("missing ; after the likelihood") << QByteArray(", s;") << QByteArray(", s")
                                                    << "\"optimizer\" - Unexpected characters, line 12";
    QTest::newRow("missing ; after the options") << QByteArray("stepSize = 1e-06;") << QByteArray("stepSize = 1e-06")
                                                 << "\"p\" - Unrecognized keyword, line 21";
    QTest::newRow("empty seed") << QByteArray("s = 0.5,") << QByteArray("s = ,")
                                << "\",\" - Illegal parameter seed, line 20";
    QTest::newRow("empty alpha level") << QByteArray("p = 0.05;") << QByteArray("p = ;")
                                       << "\";\" - Unrecognized alpha level, line 24";
    QTest::newRow("empty option") << QByteArray("calculateCovariance = yes,") << QByteArray("calculateCovariance = ,")
                                  << "\",\" - illegal value, line 14";
    QTest::newRow("empty function definition") << QByteArray("q = 1 - p;") << QByteArray("q = ;")
                                               << "\";\" - Syntax error, line 5";
    QTest::newRow("seeds section without ;") << QByteArray("p = 0.5;") << QByteArray("p = 0.5")
                                             << "\"seen\" - Unexpected characters, line 27";
}

void TestFileRobustness::damagedWorkspaces()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, description);
    QByteArray text = iotest::testDataBytes(QStringLiteral("workspace.txt"));
    QVERIFY(text.contains(from));
    text.replace(from, to);
    TempFiles files;
    const QString path = files.write(QStringLiteral("damaged.txt"), text);
    try {
        readWorkspace(path);
        QFAIL("no error");
    } catch (const zav::ParseError &e) {
        QCOMPARE(e.description(), description);
    }
}

QTEST_GUILESS_MAIN(TestFileRobustness)
#include "tst_filerobustness.moc"
