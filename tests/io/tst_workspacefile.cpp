// The workspace file: all sections in one, round trips and partial loads.
#include "IoTestSupport.h"
#include "../support/ManyParametersWorkspace.h"

#include "expr/ParseError.h"
#include "expr/Parser.h"
#include "expr/SymbolValidator.h"
#include "io/FileWriter.h"
#include "io/PelkFileReader.h"
#include "model/Workspace.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"

#include <QSignalSpy>
#include <QtTest/QtTest>

using iotest::TempFiles;
using Factory = zav::OptimizerFactory;
using pelk::ModelDefinition;
using pelk::ProfileLikelihoods;

namespace {

// A fresh workspace with the helpers these tests need.
struct Workspace : pelk::Workspace
{
    void read(const QString &path) { pelk::PelkFileReader().readWorkspace(path, *this); }
    // The error's description, or an empty string after a clean read.
    QString readText(const QByteArray &text)
    {
        TempFiles files;
        const QString path = files.write(QStringLiteral("workspace.txt"), text);
        try {
            read(path);
        } catch (const zav::ParseError &e) {
            return iotest::descriptionInFile(e, path);
        }
        return QString();
    }
    QByteArray written() const
    {
        TempFiles files;
        return files.writeWith(QStringLiteral("saved.txt"), [this](pelk::FileWriter &w) { w.writeWorkspace(*this); });
    }
};

zav::EquationPtr formula(const QString &text)
{
    return zav::parse(text, pelk::SymbolValidator());
}

QByteArray exampleWorkspace()
{
    return iotest::testDataBytes(QStringLiteral("workspace.txt"));
}

// The example's first n lines.
QByteArray firstLines(const QByteArray &text, int n)
{
    const QList<QByteArray> lines = text.split('\n');
    return lines.mid(0, n).join('\n') + '\n';
}

} // namespace

class TestWorkspaceFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void readsTheExample();
    void exampleRoundTripsByteForByte();
    void withNoRequestsRoundTrips();
    void readsEveryLineEnd_data();
    void readsEveryLineEnd();
    void builtWorkspaceRoundTrips();
    void countsOfDeletedCategoriesAreNotWritten();
    void workspaceWithoutLikelihoodsRoundTrips();
    void workspaceWithoutParametersRoundTrips();
    void modelFileAloneIsRefusedAsWorkspace();
    void endingAfterTheRequestsLoadsWithZeroCounts();
    void unknownCategoryInTheCounts();
    void failureInTheSeedsKeepsTheEarlierSections();
    void fortyThousandParametersReadInLinearWork();
};

void TestWorkspaceFile::initTestCase()
{
    qRegisterMetaType<Factory::OptimizerType>();
}

void TestWorkspaceFile::readsTheExample()
{
    Workspace ws;
    ws.read(iotest::testDataPath(QStringLiteral("workspace.txt")));
    QCOMPARE(ws.model.parameterNames(), QStringList({"s", "p"}));
    QCOMPARE(ws.model.likelihoodCount(), 1);
    QCOMPARE(ws.optimizer.type, Factory::Fletch);
    // The process-wide records are the desktop program's; reading leaves them.
    QCOMPARE(Factory::instance().optimizerType(), Factory::NoOptimizer);
    QVERIFY(ws.usePreviousEstimatesAsSeeds);
    QVERIFY(ws.calculateCovariance);
    QCOMPARE(ws.seeds, (std::vector<double>{0.5, 0.5}));
    QCOMPARE(ws.parameterRequests.count(), 1);
    QVERIFY(ws.parameterRequests.isRequested(1, 1));
    QVERIFY(ws.variableRequests.isEmpty());
    QCOMPARE(ws.categoryCounts, (QMap<QString, int>{{"seen once", 12}, {"seen twice", 7}}));
}

void TestWorkspaceFile::exampleRoundTripsByteForByte()
{
    const QByteArray original = exampleWorkspace();
    QCOMPARE(original.count('\n'), 28);
    Workspace ws;
    ws.read(iotest::testDataPath(QStringLiteral("workspace.txt")));
    QCOMPARE(ws.written(), original);
}

void TestWorkspaceFile::withNoRequestsRoundTrips()
{
    const QByteArray original = exampleWorkspace();
    const QByteArray text = firstLines(original, 22) + "profileLikelihoodRequests;\n\nseen once : 12\nseen twice : 7\n";
    QCOMPARE(text.count('\n'), 26);
    Workspace ws;
    QCOMPARE(ws.readText(text), QString());
    QVERIFY(ws.parameterRequests.isEmpty());
    QCOMPARE(ws.categoryCounts.value("seen twice"), 7);
    QCOMPARE(ws.written(), text);
}

void TestWorkspaceFile::readsEveryLineEnd_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("Windows") << QByteArray("\r\n");
    QTest::newRow("old Mac") << QByteArray("\r");
}

void TestWorkspaceFile::readsEveryLineEnd()
{
    QFETCH(QByteArray, lineEnd);
    QByteArray text = exampleWorkspace();
    text.replace("\n", lineEnd);
    Workspace ws;
    QCOMPARE(ws.readText(text), QString());
    QCOMPARE(ws.written(), exampleWorkspace());
}

void TestWorkspaceFile::builtWorkspaceRoundTrips()
{
    Workspace ws;
    ModelDefinition &m = ws.model;
    m.insertParameter(0, QStringLiteral("N"));
    m.insertParameter(1, QStringLiteral("p"));
    m.insertVariable(0, QStringLiteral("q"), QStringLiteral("1 - p"), formula(QStringLiteral("1-p")));
    // A normal likelihood first: left when the multinomial ones before it were deleted.
    const int normal = m.addLikelihood(QStringLiteral("Weight"), true);
    m.setObserved(normal, QStringLiteral("3.5"), formula(QStringLiteral("3.5")));
    m.setExpected(normal, QStringLiteral("p*10"), formula(QStringLiteral("p*10")));
    m.setStandardError(normal, QStringLiteral("0.2"), formula(QStringLiteral("0.2")));
    const int trap = m.addLikelihood(QStringLiteral("Trap"), false);
    m.insertCategory(trap, QStringLiteral("caught"), QStringLiteral("p"), formula(QStringLiteral("p")));
    m.setUnobservedCategory(trap, QStringLiteral("N"), QStringLiteral("q"), formula(QStringLiteral("q")));
    const int hidden = m.addLikelihood(QStringLiteral("Hidden"), false);
    m.setUnobservedCategory(hidden, QStringLiteral("q"), QStringLiteral("p*q"), formula(QStringLiteral("p*q")));
    ws.seeds = {120, 0.3};
    ws.parameterRequests.toggleRequest(0, 2);
    ws.parameterRequests.toggleRequest(1, 0);
    ws.variableRequests.toggleRequest(0, 1);
    ws.categoryCounts = {{"caught", 42}};
    ws.usePreviousEstimatesAsSeeds = false;
    ws.calculateCovariance = true;
    ws.optimizer.type = Factory::Simplex;
    ws.optimizer.simplex.maxFuncEvaluations = 900;

    const QByteArray first = ws.written();
    Workspace reread;
    QCOMPARE(reread.readText(first), QString());
    QCOMPARE(reread.optimizer.type, Factory::Simplex);
    QCOMPARE(reread.optimizer.simplex.maxFuncEvaluations, 900);
    QCOMPARE(reread.written(), first);
    QCOMPARE(reread.seeds, ws.seeds);
    QVERIFY(reread.parameterRequests == ws.parameterRequests);
    QVERIFY(reread.variableRequests == ws.variableRequests);
    QCOMPARE(reread.categoryCounts, ws.categoryCounts);
    QCOMPARE(reread.usePreviousEstimatesAsSeeds, false);
    QCOMPARE(reread.calculateCovariance, true);
    QCOMPARE(reread.model.variableDefinition(0), QStringLiteral("1 - p"));
}

void TestWorkspaceFile::countsOfDeletedCategoriesAreNotWritten()
{
    Workspace ws;
    ws.read(iotest::testDataPath(QStringLiteral("workspace.txt")));
    const int id = ws.model.likelihoodId(0);
    ws.model.deleteCategory(id, 1);  // "seen once"; its count stays in the map
    QCOMPARE(ws.categoryCounts.size(), 2);
    const QByteArray saved = ws.written();
    QVERIFY(!saved.contains("seen once :"));
    Workspace reread;
    QCOMPARE(reread.readText(saved), QString());
    QCOMPARE(reread.categoryCounts, (QMap<QString, int>{{"seen twice", 7}}));
}

void TestWorkspaceFile::workspaceWithoutLikelihoodsRoundTrips()
{
    Workspace ws;
    ws.read(iotest::testDataPath(QStringLiteral("workspace.txt")));
    ws.model.deleteLikelihood(ws.model.likelihoodId(0));
    const QByteArray saved = ws.written();
    QVERIFY(saved.contains("q = 1 - p;\n\noptimizer\n"));
    Workspace reread;
    QCOMPARE(reread.readText(saved), QString());
    QCOMPARE(reread.model.likelihoodCount(), 0);
    QVERIFY(reread.categoryCounts.isEmpty());
    QCOMPARE(reread.written(), saved);
}

void TestWorkspaceFile::workspaceWithoutParametersRoundTrips()
{
    Workspace ws;
    ws.model.addLikelihood(QStringLiteral("Likelihood 1"), false);
    ws.optimizer.type = Factory::Powell;
    const QByteArray saved = ws.written();
    QCOMPARE(saved, QByteArray("parameters;\n\nvariables;\n\nlikelihood \"Likelihood 1\";\n\noptimizer\n"
                               "powell, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = no;\n\n"
                               "parameterSeeds;\n\nprofileLikelihoodRequests;\n\n"));
    Workspace reread;
    QCOMPARE(reread.readText(saved), QString());
    QCOMPARE(reread.written(), saved);
}

void TestWorkspaceFile::modelFileAloneIsRefusedAsWorkspace()
{
    Workspace ws;
    QCOMPARE(ws.readText(iotest::exampleBytes(QStringLiteral("model-definition.txt"))),
             QStringLiteral("\"\" - Unexpected characters"));
    QCOMPARE(ws.model.likelihoodCount(), 2);
}

void TestWorkspaceFile::endingAfterTheRequestsLoadsWithZeroCounts()
{
    for (int lines : {24, 25, 26}) {
        const QByteArray text = firstLines(exampleWorkspace(), lines);
        Workspace ws;
        ws.categoryCounts = {{"seen once", 3}};
        QCOMPARE(ws.readText(text), QString());
        QCOMPARE(ws.categoryCounts, (QMap<QString, int>{{"seen once", 0}, {"seen twice", 0}}));
        QVERIFY(ws.parameterRequests.isRequested(1, 1));
    }
}

void TestWorkspaceFile::unknownCategoryInTheCounts()
{
    const QByteArray text = firstLines(exampleWorkspace(), 27) + "seen thrice : 7\n";
    TempFiles files;
    const QString path = files.write(QStringLiteral("bad.txt"), text);
    Workspace ws;
    try {
        ws.read(path);
        QFAIL("no error");
    } catch (const zav::ParseError &e) {
        QCOMPARE(e.description(),
                 QStringLiteral("\"\" - Unknown category \"seen thrice\" at line 28, file \"%1\"").arg(path));
    }
    // Everything before the counts was loaded.
    QCOMPARE(ws.model.likelihoodCount(), 1);
    QCOMPARE(ws.seeds, (std::vector<double>{0.5, 0.5}));
    QVERIFY(ws.parameterRequests.isRequested(1, 1));
    QCOMPARE(ws.optimizer.type, Factory::Fletch);
    QCOMPARE(ws.categoryCounts, (QMap<QString, int>{{"seen once", 12}, {"seen twice", 0}}));
}

void TestWorkspaceFile::failureInTheSeedsKeepsTheEarlierSections()
{
    QByteArray text = exampleWorkspace();
    text.replace("p = 0.5;", "p = half;");
    Workspace ws;
    QCOMPARE(ws.readText(text), QStringLiteral("\"half\" - Illegal parameter seed, line 21"));
    QCOMPARE(ws.model.parameterCount(), 2);
    QCOMPARE(ws.optimizer.type, Factory::Fletch);
    QVERIFY(ws.usePreviousEstimatesAsSeeds && ws.calculateCovariance);
    QCOMPARE(ws.seeds, (std::vector<double>{0.5, 0.0}));
    QVERIFY(ws.parameterRequests.isEmpty());
    QCOMPARE(ws.categoryCounts, (QMap<QString, int>{{"seen once", 0}, {"seen twice", 0}}));
}

// Reading once took time quadratic in the parameters: every parameter
// added recreated the nodes of all those before it, and every seed and
// request looked its name up in the list. Each node is now made once (its
// address at insertion is the one the model keeps, checked below), and at
// this size any quadratic step left would run far past the test timeout.
void TestWorkspaceFile::fortyThousandParametersReadInLinearWork()
{
    constexpr int n = 40000;
    const QByteArray text = support::manyParametersWorkspace(n).toUtf8();
    TempFiles files;
    const QString path = files.write(QStringLiteral("large.txt"), text);
    Workspace ws;
    std::vector<const pelk::Parameter *> nodes;
    connect(&ws.model, &ModelDefinition::parameterInserted, this,
            [&](int i) { nodes.push_back(ws.model.parameter(i)); });
    ws.read(path);
    QCOMPARE(ws.model.parameterCount(), n);
    QCOMPARE(int(nodes.size()), n);
    for (int i = 0; i < n; ++i) {
        if (ws.model.parameter(i) != nodes[std::size_t(i)])
            QFAIL(qPrintable(QStringLiteral("the node of parameter %1 was made again").arg(i)));
        if (ws.seeds[std::size_t(i)] != support::manyParametersSeed(i) || !ws.parameterRequests.isRequested(i, 1))
            QFAIL(qPrintable(QStringLiteral("parameter %1 lost its seed or request").arg(i)));
    }
    QCOMPARE(ws.parameterRequests.count(), n);
    QCOMPARE(ws.written(), text);
}

QTEST_GUILESS_MAIN(TestWorkspaceFile)
#include "tst_workspacefile.moc"
