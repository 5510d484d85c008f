// Cut-off and damaged input: every read ends in a clean result or in a
// zav::ParseError, never in a crash, a hang or another exception.
#include "IoTestSupport.h"

#include "expr/Tokenizer.h"
#include "io/TokenStream.h"

#include <QtTest/QtTest>

#include <sys/stat.h>

using iotest::Kind;

Q_DECLARE_METATYPE(iotest::Kind)

namespace {

// Reads the file of that kind as the program does: a workspace or a model
// definition into a new workspace, a side file into the bundled model
// definition's.
void readAsTheProgramDoes(Kind kind, const QString &path)
{
    pelk::Workspace ws;
    if (kind != Kind::Workspace && kind != Kind::Model)
        iotest::read(Kind::Model, iotest::modelDefinitionFile, ws);
    iotest::read(kind, path, ws);
}

enum class Outcome { Clean, ParseError, OtherException };

Outcome readOnce(Kind kind, const QByteArray &text)
{
    support::TempFiles files;
    const QString path = files.write(QStringLiteral("input.txt"), text);
    try {
        readAsTheProgramDoes(kind, path);
    } catch (const zav::ParseError &) {
        return Outcome::ParseError;
    } catch (...) {
        return Outcome::OtherException;
    }
    return Outcome::Clean;
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

// How a test makes the file it reads.
enum class Make { Write, Nothing, Directory, Pipe, Sparse };

} // namespace

Q_DECLARE_METATYPE(Make)

class TestFileRobustness : public QObject
{
    Q_OBJECT

private slots:
    // The length of the shortest prefix that reads cleanly: every shorter
    // one fails. The model definition is complete from the ";" that ends
    // the first likelihood, the workspace from the one that ends the
    // requests (the counts may be absent), a counts file from its first
    // label.
    void cutOffFilesFailCleanly_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("firstComplete");
        const QByteArray workspace = iotest::fileBytes(iotest::workspaceFile);
        const QByteArray model = iotest::fileBytes(iotest::modelDefinitionFile);
        QTest::newRow("workspace") << Kind::Workspace << workspace << int(workspace.indexOf("p = 0.05;")) + 9;
        QTest::newRow("model definition") << Kind::Model << model << int(model.indexOf("s;\n\nnormal")) + 2;
        QTest::newRow("counts") << Kind::Counts << QByteArray("\nseen once : 12\nseen twice : 7\n") << 10;
        // A section file is complete at its ";".
        const auto section = [](const char *name, Kind kind, const QByteArray &text) {
            QTest::newRow(name) << kind << text << int(text.lastIndexOf(';')) + 1;
        };
        section("seeds", Kind::Seeds, "\nparameterSeeds\ns = 0.5,\np = 0.25;\n");
        section("requests", Kind::Requests, "\nprofileLikelihoodRequests\np = 0.05,\nq = 0.10;\n\n");
        section("optimizer settings", Kind::Optimizer,
                "\noptimizer\nsimplex, usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = no,\n"
                "fractionalTolerance = 3e-08,\nmaxFuncEvaluations = 5000,\nstepSize = 0.1;\n");
    }

    void cutOffFilesFailCleanly()
    {
        QFETCH(Kind, kind);
        QFETCH(QByteArray, text);
        QFETCH(int, firstComplete);
        QVERIFY(firstComplete > 2);
        for (int n = 0; n <= text.size(); ++n) {
            const Outcome outcome = readOnce(kind, text.left(n));
            if (outcome == Outcome::OtherException || (n < firstComplete && outcome != Outcome::ParseError)
                || (n == firstComplete && outcome != Outcome::Clean))
                QFAIL(qPrintable(QStringLiteral("prefix of %1 bytes: outcome %2").arg(n).arg(int(outcome))));
        }
        QCOMPARE(readOnce(kind, text), Outcome::Clean);
        // The rest of the file after a token, too: it starts in mid-section.
        const QList<int> cuts = tokenBoundaries(text);
        QVERIFY(cuts.size() > 10);
        for (int cut : cuts)
            QVERIFY(readOnce(kind, text.mid(cut)) != Outcome::OtherException);
    }

    void filesThatCannotBeParsed_data()
    {
        QTest::addColumn<QString>("name"); // in the test directory, or an absolute path
        QTest::addColumn<Make>("make");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("description"); // %1: the path, control characters escaped
        const QString empty = QStringLiteral("\"\" - The file is empty, file \"%1\"");
        QTest::newRow("missing") << "none.txt" << Make::Nothing << QByteArray() << Kind::Workspace
                                 << "\"\" - Error opening input file (No such file or directory), file \"%1\"";
        QTest::newRow("directory") << "folder" << Make::Directory << QByteArray() << Kind::Model
                                   << "\"\" - Not a regular file, file \"%1\"";
        QTest::newRow("device") << "/dev/zero" << Make::Nothing << QByteArray() << Kind::Counts
                                << "\"\" - Not a regular file, file \"%1\"";
        QTest::newRow("pipe") << "pipe" << Make::Pipe << QByteArray() << Kind::Seeds
                              << "\"\" - Not a regular file, file \"%1\"";
        QTest::newRow("one byte past 64 MiB") << "large.txt" << Make::Sparse << QByteArray() << Kind::Workspace
                                              << "\"\" - The file is larger than 64 MiB, file \"%1\"";
        QTest::newRow("empty workspace") << "w.txt" << Make::Write << QByteArray() << Kind::Workspace << empty;
        QTest::newRow("empty requests") << "r.txt" << Make::Write << QByteArray() << Kind::Requests << empty;
        QTest::newRow("empty optimizer settings") << "o.txt" << Make::Write << QByteArray() << Kind::Optimizer << empty;
        QTest::newRow("blank") << "b.txt" << Make::Write << QByteArray(" \n\t\r\n\r \n") << Kind::Workspace << empty;
        QTest::newRow("old Mac line ends") << "mac.txt" << Make::Write << QByteArray("\rparameterSeeds\rs = abc;\r")
                                           << Kind::Seeds << "\"abc\" - Illegal parameter seed, line 3, file \"%1\"";
        QTest::newRow("control character in a token")
            << "bell.txt" << Make::Write << QByteArray("parameterSeeds\ns = 1\a;\n") << Kind::Seeds
            << "\"1\\x07\" - Illegal parameter seed, line 2, file \"%1\"";
        QTest::newRow("escape sequence in a label")
            << "esc.txt" << Make::Write << QByteArray("seen\x1b[2J once : 1\n") << Kind::Counts
            << "\"\" - Unknown category \"seen\\x1B[2J once\" at line 1, file \"%1\"";
        QTest::newRow("line end in the file name")
            << "two\nlines.txt" << Make::Write << QByteArray() << Kind::Seeds << empty;
    }

    void filesThatCannotBeParsed()
    {
        QFETCH(QString, name);
        QFETCH(Make, make);
        QFETCH(QByteArray, text);
        QFETCH(Kind, kind);
        QFETCH(QString, description);
        support::TempFiles files;
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
            readAsTheProgramDoes(kind, path);
            QFAIL("no error");
        } catch (const zav::ParseError &e) {
            QCOMPARE(e.description(), description.arg(QString(path).replace(u'\n', QStringLiteral("\\x0A"))));
        }
    }
};

QTEST_GUILESS_MAIN(TestFileRobustness)
#include "tst_filerobustness.moc"
