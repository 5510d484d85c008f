// Cut-off and damaged input: every read ends in a clean result or in a
// zav::ParseError, never in a crash, a hang or another exception.
#include "IoTestSupport.h"

#include "expr/ParseError.h"
#include "expr/Tokenizer.h"
#include "io/PelkFileReader.h"
#include "io/TokenStream.h"
#include "model/Workspace.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"

#include <QtTest/QtTest>

#include <QDir>

#include <exception>
#include <functional>

#include <sys/stat.h>

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
    pelk::Workspace workspace;
    pelk::PelkFileReader().readWorkspace(path, workspace);
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

    void everyPrefixOfTheWorkspace();
    void everyPrefixOfTheModelDefinition();
    void everyTokenCutOfTheWorkspace();
    void everyTokenCutOfTheModelDefinition();
    void everyPrefixOfTheSideFiles();
    void damagedWorkspaces_data();
    void damagedWorkspaces();
    void filesThatCannotBeParsed_data();
    void filesThatCannotBeParsed();
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
             zav::OptimizerSettings optimizer;
             pelk::PelkFileReader().readOptimizerSettings(path, a, b, optimizer);
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
        QCOMPARE(iotest::descriptionInFile(e, path), description);
    }
}

namespace {

// How a test makes the file it reads.
enum class Make { Write, Nothing, Directory, Pipe, Sparse };

// Each kind of file through its own read function of PelkFileReader.
void readAs(const QString &kind, const QString &path)
{
    pelk::ModelDefinition model;
    model.insertParameter(0, QStringLiteral("s"));
    QMap<QString, int> counts{{QStringLiteral("seen once"), 0}};
    std::vector<double> seeds;
    pelk::ProfileLikelihoods parameters;
    pelk::ProfileLikelihoods variables;
    bool a = false;
    zav::OptimizerSettings optimizer;
    bool b = false;
    pelk::PelkFileReader reader;
    if (kind == u"workspace")
        readWorkspace(path);
    else if (kind == u"model")
        reader.readModelDefinition(path, model, counts);
    else if (kind == u"counts")
        reader.readCategoryCounts(path, counts);
    else if (kind == u"seeds")
        reader.readParameterSeeds(path, model, seeds);
    else if (kind == u"requests")
        reader.readProfileLikelihoodRequests(path, model, parameters, variables);
    else if (kind == u"optimizer")
        reader.readOptimizerSettings(path, a, b, optimizer);
    else
        QFAIL("unknown kind");
}

} // namespace

void TestFileRobustness::filesThatCannotBeParsed_data()
{
    QTest::addColumn<QString>("name"); // in the test directory, or an absolute path
    QTest::addColumn<Make>("make");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("description"); // %1: the path, control characters escaped
    const QString empty = QStringLiteral("\"\" - The file is empty, file \"%1\"");
    QTest::newRow("missing") << "none.txt" << Make::Nothing << QByteArray() << "workspace"
                             << "\"\" - Error opening input file (No such file or directory), file \"%1\"";
    QTest::newRow("directory") << "folder" << Make::Directory << QByteArray() << "model"
                               << "\"\" - Not a regular file, file \"%1\"";
    QTest::newRow("device") << "/dev/zero" << Make::Nothing << QByteArray() << "counts"
                            << "\"\" - Not a regular file, file \"%1\"";
    QTest::newRow("pipe") << "pipe" << Make::Pipe << QByteArray() << "seeds"
                          << "\"\" - Not a regular file, file \"%1\"";
    QTest::newRow("one byte past 64 MiB") << "large.txt" << Make::Sparse << QByteArray() << "workspace"
                                          << "\"\" - The file is larger than 64 MiB, file \"%1\"";
    QTest::newRow("empty workspace") << "w.txt" << Make::Write << QByteArray() << "workspace" << empty;
    QTest::newRow("empty requests") << "r.txt" << Make::Write << QByteArray() << "requests" << empty;
    QTest::newRow("empty optimizer settings") << "o.txt" << Make::Write << QByteArray() << "optimizer" << empty;
    QTest::newRow("blank") << "b.txt" << Make::Write << QByteArray(" \n\t\r\n\r \n") << "workspace" << empty;
    QTest::newRow("old Mac line ends") << "mac.txt" << Make::Write << QByteArray("\rparameterSeeds\rs = abc;\r")
                                       << "seeds" << "\"abc\" - Illegal parameter seed, line 3, file \"%1\"";
    QTest::newRow("control character in a token")
        << "bell.txt" << Make::Write << QByteArray("parameterSeeds\ns = 1\a;\n") << "seeds"
        << "\"1\\x07\" - Illegal parameter seed, line 2, file \"%1\"";
    QTest::newRow("escape sequence in a label")
        << "esc.txt" << Make::Write << QByteArray("seen\x1b[2J once : 1\n") << "counts"
        << "\"\" - Unknown category \"seen\\x1B[2J once\" at line 1, file \"%1\"";
    QTest::newRow("line end in the file name") << "two\nlines.txt" << Make::Write << QByteArray() << "seeds" << empty;
}

void TestFileRobustness::filesThatCannotBeParsed()
{
    QFETCH(QString, name);
    QFETCH(Make, make);
    QFETCH(QByteArray, text);
    QFETCH(QString, kind);
    QFETCH(QString, description);
    TempFiles files;
    const QString path = QDir::isAbsolutePath(name) ? name : files.path(name);
    if (make == Make::Write)
        files.write(name, text);
    else if (make == Make::Directory)
        QVERIFY(QDir().mkdir(path));
    else if (make == Make::Pipe)
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (make == Make::Sparse)
        QVERIFY(QFile(files.write(name, QByteArray())).resize(qint64(64) * 1024 * 1024 + 1));
    try {
        readAs(kind, path);
        QFAIL("no error");
    } catch (const zav::ParseError &e) {
        QCOMPARE(e.description(), description.arg(QString(path).replace(u'\n', QStringLiteral("\\x0A"))));
    }
}

QTEST_GUILESS_MAIN(TestFileRobustness)
#include "tst_filerobustness.moc"
