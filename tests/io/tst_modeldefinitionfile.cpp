// The model definition file: reading, writing, round trips and failures.
#include "IoTestSupport.h"

#include "expr/Parser.h"
#include "expr/SymbolValidator.h"

#include <QtTest/QtTest>

using iotest::Kind;
using pelk::ModelDefinition;

namespace {

zav::EquationPtr formula(const QString &text)
{
    return zav::parse(text, pelk::SymbolValidator());
}

// Every category label of the model, each with the count 0.
QMap<QString, int> zeroCounts(const ModelDefinition &model)
{
    QMap<QString, int> counts;
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        for (int category = 0; category < model.categoryCount(id); ++category)
            counts.insert(model.categoryLabel(id, category), 0);
    }
    return counts;
}

} // namespace

class TestModelDefinitionFile : public QObject
{
    Q_OBJECT

private slots:
    void readsTheExampleAndWritesItBackByteForByte()
    {
        pelk::Workspace ws;
        iotest::read(Kind::Model, iotest::modelDefinitionFile, ws);
        const ModelDefinition &model = ws.model;
        QCOMPARE(model.parameterNames(), QStringList({"s", "p"}));
        QCOMPARE(model.variableNames(), QStringList({"q"}));
        QCOMPARE(model.variableDefinition(0), QStringLiteral("1 - p"));
        QVERIFY(model.variableEquation(0));
        QCOMPARE(model.likelihoodCount(), 2);
        const int multinomial = model.likelihoodId(0);
        QCOMPARE(model.likelihoodName(multinomial), QStringLiteral("Likelihood 1"));
        QVERIFY(model.isMultinomial(multinomial));
        QCOMPARE(model.categoryCount(multinomial), 2);
        QCOMPARE(model.categoryLabel(multinomial, 0), QStringLiteral("seen twice"));
        QCOMPARE(model.categoryProbability(multinomial, 0), QStringLiteral("s*p*p"));
        QCOMPARE(model.categoryLabel(multinomial, 1), QStringLiteral("seen once"));
        QCOMPARE(model.categoryProbability(multinomial, 2), QStringLiteral("1-s*p*p-2*s*p*q"));
        QCOMPARE(model.abundanceSymbolName(multinomial), QStringLiteral("s"));
        QCOMPARE(model.abundanceSymbol(multinomial), model.parameter(0));
        const int normal = model.likelihoodId(1);
        QVERIFY(!model.isMultinomial(normal));
        QCOMPARE(model.likelihoodName(normal), QStringLiteral("Mean size"));
        QCOMPARE(model.observed(normal), QStringLiteral("12.5"));
        QCOMPARE(model.expected(normal), QStringLiteral("10*s"));
        QCOMPARE(model.standardError(normal), QStringLiteral("0.8"));
        QVERIFY(model.observedEquation(normal) && model.expectedEquation(normal) && model.standardErrorEquation(normal));
        QCOMPARE(ws.categoryCounts, (QMap<QString, int>{{"seen twice", 0}, {"seen once", 0}}));
        const QByteArray original = iotest::fileBytes(iotest::modelDefinitionFile);
        QCOMPARE(original.count('\n'), 15);
        QCOMPARE(iotest::written(Kind::Model, ws), original);
    }

    void writesTheExampleFromModelCalls()
    {
        pelk::Workspace ws;
        ModelDefinition &model = ws.model;
        model.insertParameter(0, QStringLiteral("s"));
        model.insertParameter(1, QStringLiteral("p"));
        model.insertVariable(0, QStringLiteral("q"), QStringLiteral("1 - p"), formula(QStringLiteral("1 - p")));
        const int id = model.addLikelihood(QStringLiteral("Likelihood 1"), false);
        model.insertCategory(id, QStringLiteral("seen twice"), QStringLiteral("s*p*p"), formula(QStringLiteral("s*p*p")));
        model.insertCategory(id, QStringLiteral("seen once"), QStringLiteral("2*s*p*q"), formula(QStringLiteral("2*s*p*q")));
        model.setUnobservedCategory(id, QStringLiteral("s"), QStringLiteral("1-s*p*p-2*s*p*q"),
                                    formula(QStringLiteral("1-s*p*p-2*s*p*q")));
        const int normal = model.addLikelihood(QStringLiteral("Mean size"), true);
        model.setObserved(normal, QStringLiteral("12.5"), formula(QStringLiteral("12.5")));
        model.setExpected(normal, QStringLiteral("10*s"), formula(QStringLiteral("10*s")));
        model.setStandardError(normal, QStringLiteral("0.8"), formula(QStringLiteral("0.8")));
        QCOMPARE(iotest::written(Kind::Model, ws), iotest::fileBytes(iotest::modelDefinitionFile));
    }

    void builtModelRoundTrips()
    {
        pelk::Workspace ws;
        ModelDefinition &model = ws.model;
        model.insertParameter(0, QStringLiteral("a"));
        model.insertParameter(1, QStringLiteral("Beta_2"));
        model.insertParameter(2, QStringLiteral("$n.total$"));
        model.insertVariable(0, QStringLiteral("f"), QStringLiteral("exp( a ) / ( 1 + exp( a ) )"),
                             formula(QStringLiteral("exp(a)/(1+exp(a))")));
        model.insertVariable(1, QStringLiteral("g"), QStringLiteral("1 - f"), formula(QStringLiteral("1-f")));
        const int normalFirst = model.addLikelihood(QStringLiteral("Size of things"), true);
        model.setObserved(normalFirst, QStringLiteral("3"), formula(QStringLiteral("3")));
        model.setExpected(normalFirst, QStringLiteral("Beta_2*2"), formula(QStringLiteral("Beta_2*2")));
        model.setStandardError(normalFirst, QStringLiteral("0.5"), formula(QStringLiteral("0.5")));
        const int m = model.addLikelihood(QStringLiteral("Trap"), false);
        model.insertCategory(m, QStringLiteral("caught"), QStringLiteral("f*g"), formula(QStringLiteral("f*g")));
        model.insertCategory(m, QStringLiteral("caught twice"), QStringLiteral("f^2"), formula(QStringLiteral("f^2")));
        model.setUnobservedCategory(m, QStringLiteral("$n.total$"), QStringLiteral("1-f*g-f^2"),
                                    formula(QStringLiteral("1-f*g-f^2")));
        model.addLikelihood(QStringLiteral("Empty"), false);
        const int onlyUnobserved = model.addLikelihood(QStringLiteral("Hidden"), false);
        model.setUnobservedCategory(onlyUnobserved, QStringLiteral("g"), QStringLiteral("g"), formula(QStringLiteral("g")));
        const int plain = model.addLikelihood(QStringLiteral("Plain"), false);
        model.insertCategory(plain, QStringLiteral("x"), QStringLiteral("a"), formula(QStringLiteral("a")));

        const QByteArray first = iotest::written(Kind::Model, ws);
        pelk::Workspace reread;
        QCOMPARE(iotest::readFailure(Kind::Model, first, reread), QString());
        QCOMPARE(iotest::written(Kind::Model, reread), first);
        QCOMPARE(reread.model.abundanceSymbolName(reread.model.likelihoodId(3)), QStringLiteral("g"));
        QCOMPARE(reread.model.categoryCount(reread.model.likelihoodId(3)), 0);
    }

    // What reading leaves (every label it read with the count 0, whatever
    // the counts were), and that model written again (empty: not checked).
    void readsAndWritesAgain_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QByteArray>("written");
        const auto same = [](const char *name, const QByteArray &text) { QTest::newRow(name) << text << "" << text; };
        same("empty sections", "parameters;\n\nvariables;\n\nlikelihood \"L\";\n");
        same("first likelihood normal", "parameters\nm;\n\nvariables;\n\nnormalLikelihood \"N\"\nobserved, 1,\n"
                                        "expected, m,\nstandardError, 0.1;\n\nlikelihood \"L\"\na, m;\n");
        same("only the unobserved category", "parameters\nN, p;\n\nvariables;\n\nlikelihood \"L\"\n, 1-p, N;\n");
        same("normal likelihood with empty formulas", "parameters;\n\nvariables;\n\nlikelihood \"M\";\n\n"
                                                      "normalLikelihood \"N\"\nobserved, ,\nexpected, ,\nstandardError, ;\n");
        QTest::newRow("blanks in names and labels collapse")
            << QByteArray("parameters p;\nvariables;\nlikelihood \"  Two   words \"\na, p,\nb  c, 1-p;\n") << ""
            << QByteArray("parameters\np;\n\nvariables;\n\nlikelihood \"Two words\"\na, p,\nb c, 1-p;\n");
        QTest::newRow("comments are ignored")
            << QByteArray("# a model\nparameters s; # two words\n# only a comment\n\nvariables;\n"
                          "likelihood \"L\" # name\na, s; # done\n# end\n")
            << "" << QByteArray("parameters\ns;\n\nvariables;\n\nlikelihood \"L\"\na, s;\n");
        QTest::newRow("comments count as lines")
            << QByteArray("# a model\nparameters s; # two words\n# only a comment\n\nvariables;\n"
                          "likelihood \"L\" # name\na, s**2; # done\n")
            << "\"*\" - Invalid symbol name, line 7" << QByteArray();
        QTest::newRow("a failure in the third likelihood keeps what came before")
            << QByteArray("parameters\ns, p;\n\nvariables\nq = 1 - p;\n\nlikelihood \"First\"\na, s,\nb, 1-s;\n\n"
                          "normalLikelihood \"Second\"\nobserved, 1,\nexpected, p,\nstandardError, 0.1;\n\n"
                          "likelihood \"Third\"\nc, p,\nd, q,\ne, 2x;\n")
            << "\"2x\" - Invalid symbol name, line 19"
            << QByteArray("parameters\ns, p;\n\nvariables\nq = 1 - p;\n\nlikelihood \"First\"\na, s,\nb, 1-s;\n\n"
                          "normalLikelihood \"Second\"\nobserved, 1,\nexpected, p,\nstandardError, 0.1;\n\n"
                          "likelihood \"Third\"\nc, p,\nd, q;\n");
        QTest::newRow("a parse error leaves the normal likelihood out")
            << QByteArray("parameters s;\nvariables;\nlikelihood \"L\";\n"
                          "normalLikelihood \"N\"\nobserved, 1,\nexpected, s+,\nstandardError, 1;\n")
            << "\"+\" - illegal syntax, line 6" << QByteArray("parameters\ns;\n\nvariables;\n\nlikelihood \"L\";\n");

        const QByteArray head = "parameters\ns, p;\n\nvariables\nq = 1 - p;\n\n"; // 6 lines
        const auto fails = [](const char *name, const QByteArray &text, const char *failure) {
            QTest::newRow(name) << text << failure << QByteArray();
        };
        fails("empty file", "", "\"\" - The file is empty");
        fails("wrong first keyword", "parameter s;\n", "\"parameter\" - Unexpected characters, line 1");
        fails("ends after parameters a", "parameters a", "\"\" - Unexpected characters");
        fails("missing ; after parameters", "parameters s\nvariables;\n", "\"variables\" - Unexpected characters, line 2");
        fails("illegal parameter name", "parameters\ns, 2p;\n", "\"2p\" - Illegal parameter name, line 2");
        fails("underscore parameter name", "parameters _x;\n", "\"_x\" - Illegal parameter name, line 1");
        fails("parameter list ends after ,", "parameters s,", "\"\" - Illegal parameter name");
        fails("duplicate parameter", "parameters s, p,\ns;\n", "\"s\" - Duplicate symbol name, line 2");
        fails("no variables keyword", "parameters s;\nlikelihood \"L\";\n", "\"likelihood\" - Unexpected characters, line 2");
        fails("empty function definition", "parameters p;\nvariables\nq = ;\n", "\";\" - Syntax error, line 3");
        fails("empty function definition before ,", "parameters p;\nvariables\nq = ,\nr = p;\n",
              "\",\" - Syntax error, line 3");
        fails("function without =", "parameters p;\nvariables\nq 1 - p;\n", "\"1\" - Unexpected characters, line 3");
        fails("function parse error", "parameters p;\nvariables\nq = (1 - p;\n",
              "\"p\" - unbalanced Parentheses, line 3");
        fails("assignment entry ends the file", "parameters p;\nvariables\nq = 1 - p,\nr",
              "\"r\" - Unexpected end of file, line 4");
        fails("assignment list ends after ,", "parameters p;\nvariables\nq = 1 - p,\n", "\"\" - Unexpected end of file");
        // Written first in the requests section, it would read as an empty section.
        fails("function named ;", "parameters p;\nvariables\nq = p,\n; = p;\nlikelihood \"L\";\n",
              "\";\" - Unexpected characters, line 4");
        fails("function ends without ;", "parameters p;\nvariables\nq = 1 - p", "\"\" - Unexpected end of file");
        fails("no likelihood", "parameters;\nvariables;\n", "\"\" - Unexpected characters");
        fails("optimizer instead of likelihood", "parameters;\nvariables;\noptimizer\n",
              "\"optimizer\" - Unexpected characters, line 3");
        fails("likelihood without quote", head + "likelihood L;\n", "\"L\" - Unexpected characters, line 7");
        fails("unbalanced quote", head + "likelihood \"L;\n", "\"\" - Unexpected end of file");
        fails("unbalanced quote, more lines", head + "likelihood \"L\na, s;\n", "\"\" - Unexpected end of file");
        fails("duplicate likelihood name", head + "likelihood \"L\";\nlikelihood \"L\";\n",
              "\"\" - Duplicate likelihood name \"L\".");
        fails("duplicate likelihood name, normal",
              head + "likelihood \"L\";\nnormalLikelihood \" L \"\nobserved, 1,\nexpected, 1,\nstandardError, 1;\n",
              "\"\" - Duplicate likelihood name \"L\".");
        fails("duplicate label in one likelihood", head + "likelihood \"L\"\nseen, s,\nseen, p;\n",
              "\"\" - Duplicate category label \"seen\"");
        fails("duplicate label in another likelihood",
              head + "likelihood \"A\"\nseen twice, s;\nlikelihood \"B\"\nseen  twice, p;\n",
              "\"\" - Duplicate category label \"seen twice\"");
        // A label that the saved workspace could not give back.
        fails("label with :", head + "likelihood \"L\"\nx : y, s;\n", "\"x : y\" - Illegal category label, line 8");
        fails("label starting with ; after the unobserved category", head + "likelihood \"L\"\n, 1-s, s,\n; y, p;\n",
              "\"; y\" - Illegal category label, line 9");
        fails("empty probability", head + "likelihood \"L\"\na, ;\n", "\";\" - Syntax error, line 8");
        fails("empty probability before ,", head + "likelihood \"L\"\na,\n, b, s;\n", "\",\" - Syntax error, line 9");
        fails("probability parse error", head + "likelihood \"L\"\na, s**p;\n", "\"*\" - Invalid symbol name, line 8");
        fails("unknown abundance symbol", head + "likelihood \"L\"\na, s,\n, 1-s, N;\n",
              "\"N\" - Unrecognized symbol name, line 9");
        fails("unobserved without abundance", head + "likelihood \"L\"\n, 1-s;\n",
              "\";\" - Unexpected characters, line 8");
        fails("label runs to the end", head + "likelihood \"L\"\nseen twice", "\"\" - Unexpected end of file");
        fails("probability runs to the end", head + "likelihood \"L\"\nseen twice, s*p", "\"\" - Unexpected end of file");
        fails("missing ; after categories", head + "likelihood \"L\"\na, s\nlikelihood \"M\";\n",
              "\"likelihood\" - illegal syntax, line 9");
        fails("normal: missing expected", head + "normalLikelihood \"N\"\nobserved, 1,\nstandardError, 1;\n",
              "\"standardError\" - Unexpected characters, line 9");
        fails("normal: ends with , instead of ;",
              head + "normalLikelihood \"N\"\nobserved, 1,\nexpected, 1,\nstandardError, 1,\n",
              "\",\" - Unexpected characters, line 10");
        fails("normal: runs to the end", head + "normalLikelihood \"N\"\nobserved, 1,\nexpected, 1,\nstandardError, 1",
              "\"\" - Unexpected end of file");
        fails("normal: parse error", head + "normalLikelihood \"N\"\nobserved, 1,\nexpected, s)\n,standardError, 1;\n",
              "\")\" - illegal syntax, line 9");
    }

    void readsAndWritesAgain()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, written);
        pelk::Workspace ws;
        ws.categoryCounts = {{"stale", 4}, {"a", 9}};
        QTEST(iotest::readFailure(Kind::Model, text, ws), "failure");
        QCOMPARE(ws.categoryCounts, zeroCounts(ws.model));
        if (!written.isEmpty())
            QCOMPARE(iotest::written(Kind::Model, ws), written);
    }
};

QTEST_GUILESS_MAIN(TestModelDefinitionFile)
#include "tst_modeldefinitionfile.moc"
