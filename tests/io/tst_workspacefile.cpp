// The workspace file: all sections in one, round trips and partial loads.
#include "IoTestSupport.h"
#include "../support/ManyParametersWorkspace.h"

#include "expr/Parser.h"
#include "expr/SymbolValidator.h"

#include <QtTest/QtTest>

using iotest::Kind;
using Factory = zav::OptimizerFactory;

namespace {

zav::EquationPtr formula(const QString &text)
{
    return zav::parse(text, pelk::SymbolValidator());
}

// The test workspace with each pair of texts replaced.
QByteArray example(const QList<std::pair<QByteArray, QByteArray>> &replacements = {})
{
    QByteArray text = iotest::fileBytes(iotest::workspaceFile);
    for (const auto &[from, to] : replacements)
        text.replace(from, to);
    return text;
}

const QByteArray counts = "seen once : 12\nseen twice : 7\n";
const QByteArray noCounts = "seen once : 0\nseen twice : 0\n";
const QByteArray requests = "profileLikelihoodRequests\np = 0.05;\n\n";

} // namespace

class TestWorkspaceFile : public QObject
{
    Q_OBJECT

private slots:
    void readsTheExample()
    {
        pelk::Workspace ws;
        iotest::read(Kind::Workspace, iotest::workspaceFile, ws);
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

    // The error, and the workspace written from what was read (empty: not
    // checked), starting from a count of 3 for "seen once".
    void readAndWrittenBack_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QByteArray>("written");
        const QByteArray original = example();
        QCOMPARE(original.count('\n'), 28);
        QTest::newRow("as written") << original << "" << original;
        QTest::newRow("Windows line ends") << example({{"\n", "\r\n"}}) << "" << original;
        QTest::newRow("old Mac line ends") << example({{"\n", "\r"}}) << "" << original;
        QTest::newRow("no requests") << example({{requests, "profileLikelihoodRequests;\n"}}) << ""
                                     << example({{requests, "profileLikelihoodRequests;\n"}});
        // The counts section may be absent: every count is 0.
        for (const QByteArray &end : {QByteArray("\n\n"), QByteArray("\n"), QByteArray()})
            QTest::addRow("ends after the requests, then %d line ends", int(end.size()))
                << example({{"\n\n" + counts, end}}) << "" << example({{counts, noCounts}});
        const auto same = [](const char *name, const QByteArray &text) { QTest::newRow(name) << text << "" << text; };
        same("no likelihood", example({{"likelihood \"Likelihood 1\"\nseen twice, s*p*p,\nseen once, 2*s*p*q,\n"
                                        ", 1-s*p*p-2*s*p*q, s;\n\n",
                                        ""},
                                       {counts, ""}}));
        same("no parameters", "parameters;\n\nvariables;\n\nlikelihood \"Likelihood 1\";\n\noptimizer\n"
                              "powell, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = no;\n\n"
                              "parameterSeeds;\n\nprofileLikelihoodRequests;\n\n");
        // Everything before the failure stays.
        QTest::newRow("unknown category in the counts")
            << example({{"seen twice : 7", "seen thrice : 7"}}) << "\"\" - Unknown category \"seen thrice\" at line 28"
            << example({{"seen twice : 7", "seen twice : 0"}});
        QTest::newRow("a failure in the seeds")
            << example({{"p = 0.5;", "p = half;"}}) << "\"half\" - Illegal parameter seed, line 21"
            << example({{"p = 0.5;", "p = 0;"}, {requests, "profileLikelihoodRequests;\n"}, {counts, noCounts}});
        const auto fails = [](const char *name, const QByteArray &from, const QByteArray &to, const char *failure) {
            QTest::newRow(name) << example({{from, to}}) << failure << QByteArray();
        };
        fails("unbalanced quote", "\"Likelihood 1\"", "\"Likelihood 1", "\"\" - Unexpected end of file");
        fails("missing ; after the likelihood", ", s;", ", s", "\"optimizer\" - Unexpected characters, line 12");
        fails("missing ; after the options", "stepSize = 1e-06;", "stepSize = 1e-06",
              "\"p\" - Unrecognized keyword, line 21");
        fails("empty seed", "s = 0.5,", "s = ,", "\",\" - Illegal parameter seed, line 20");
        fails("empty alpha level", "p = 0.05;", "p = ;", "\";\" - Unrecognized alpha level, line 24");
        fails("empty option", "calculateCovariance = yes,", "calculateCovariance = ,", "\",\" - illegal value, line 14");
        fails("empty function definition", "q = 1 - p;", "q = ;", "\";\" - Syntax error, line 5");
        fails("seeds section without ;", "p = 0.5;", "p = 0.5", "\"seen\" - Unexpected characters, line 27");
        QTest::newRow("a model definition file") << iotest::fileBytes(iotest::modelDefinitionFile)
                                                 << "\"\" - Unexpected characters" << QByteArray();
    }

    void readAndWrittenBack()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, written);
        pelk::Workspace ws;
        ws.categoryCounts = {{"seen once", 3}};
        QTEST(iotest::readFailure(Kind::Workspace, text, ws), "failure");
        if (!written.isEmpty())
            QCOMPARE(iotest::written(Kind::Workspace, ws), written);
    }

    void builtWorkspaceRoundTrips()
    {
        pelk::Workspace ws;
        pelk::ModelDefinition &m = ws.model;
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
        ws.calculateCovariance = true;
        ws.optimizer.type = Factory::Simplex;
        ws.optimizer.simplex.maxFuncEvaluations = 900;

        const QByteArray first = iotest::written(Kind::Workspace, ws);
        pelk::Workspace reread;
        QCOMPARE(iotest::readFailure(Kind::Workspace, first, reread), QString());
        QCOMPARE(iotest::written(Kind::Workspace, reread), first);
        QCOMPARE(reread.seeds, ws.seeds);
        QVERIFY(reread.parameterRequests == ws.parameterRequests);
        QVERIFY(reread.variableRequests == ws.variableRequests);
        QCOMPARE(reread.categoryCounts, ws.categoryCounts);
    }

    void countsOfDeletedCategoriesAreNotWritten()
    {
        pelk::Workspace ws;
        iotest::read(Kind::Workspace, iotest::workspaceFile, ws);
        ws.model.deleteCategory(ws.model.likelihoodId(0), 1); // "seen once"; its count stays in the map
        QCOMPARE(ws.categoryCounts.size(), 2);
        const QByteArray saved = iotest::written(Kind::Workspace, ws);
        QVERIFY(saved.endsWith("\n\nseen twice : 7\n"));
        pelk::Workspace reread;
        QCOMPARE(iotest::readFailure(Kind::Workspace, saved, reread), QString());
        QCOMPARE(reread.categoryCounts, (QMap<QString, int>{{"seen twice", 7}}));
    }

    // Reading once took time quadratic in the parameters: every parameter
    // added recreated the nodes of all those before it, and every seed and
    // request looked its name up in the list. Each node is now made once (its
    // address at insertion is the one the model keeps, checked below), and at
    // this size any quadratic step left would run far past the test timeout.
    void fortyThousandParametersReadInLinearWork()
    {
        constexpr int n = 40000;
        const QByteArray text = support::manyParametersWorkspace(n).toUtf8();
        pelk::Workspace ws;
        std::vector<const pelk::Parameter *> nodes;
        connect(&ws.model, &pelk::ModelDefinition::parameterInserted, this,
                [&](int i) { nodes.push_back(ws.model.parameter(i)); });
        QCOMPARE(iotest::readFailure(Kind::Workspace, text, ws), QString());
        QCOMPARE(ws.model.parameterCount(), n);
        QCOMPARE(int(nodes.size()), n);
        for (int i = 0; i < n; ++i) {
            if (ws.model.parameter(i) != nodes[std::size_t(i)])
                QFAIL(qPrintable(QStringLiteral("the node of parameter %1 was made again").arg(i)));
            if (ws.seeds[std::size_t(i)] != support::manyParametersSeed(i) || !ws.parameterRequests.isRequested(i, 1))
                QFAIL(qPrintable(QStringLiteral("parameter %1 lost its seed or request").arg(i)));
        }
        QCOMPARE(ws.parameterRequests.count(), n);
        QCOMPARE(iotest::written(Kind::Workspace, ws), text);
    }
};

QTEST_GUILESS_MAIN(TestWorkspaceFile)
#include "tst_workspacefile.moc"
