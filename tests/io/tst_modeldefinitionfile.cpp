// The model definition file: reading, writing, round trips and failures.
#include "IoTestSupport.h"

#include "expr/ParseError.h"
#include "expr/Parser.h"
#include "expr/SymbolValidator.h"
#include "io/FileWriter.h"
#include "io/PelkFileReader.h"
#include "model/ModelDefinition.h"

#include <QtTest/QtTest>

using iotest::TempFiles;
using pelk::ModelDefinition;

namespace {

zav::EquationPtr formula(const QString &text)
{
    return zav::parse(text, pelk::SymbolValidator());
}

// Reads the text as a model definition file; returns the error's
// description, or an empty string when it read cleanly.
QString readFailure(const QByteArray &text, ModelDefinition &model, QMap<QString, int> &counts)
{
    TempFiles files;
    const QString path = files.write(QStringLiteral("model.txt"), text);
    try {
        pelk::PelkFileReader().readModelDefinition(path, model, counts);
    } catch (const zav::ParseError &e) {
        return iotest::descriptionInFile(e, path);
    }
    return QString();
}

QByteArray written(const ModelDefinition &model)
{
    TempFiles files;
    return files.writeWith(QStringLiteral("out.txt"),
                           [&](pelk::FileWriter &writer) { writer.writeModelDefinition(model); });
}

} // namespace

class TestModelDefinitionFile : public QObject
{
    Q_OBJECT

private slots:
    void readsTheExample();
    void exampleRoundTripsByteForByte();
    void builtModelRoundTrips();
    void writesTheExampleFromModelCalls();
    void emptySectionsAreValid();
    void firstLikelihoodMayBeNormal();
    void likelihoodWithOnlyTheUnobservedCategoryRoundTrips();
    void normalLikelihoodWithEmptyFormulasRoundTrips();
    void commentsAreIgnoredAndLinesCounted();
    void likelihoodNameBlanksCollapse();
    void readResetsTheCounts();
    void failures_data();
    void failures();
    void failureInThirdLikelihoodKeepsWhatWasRead();
    void parseErrorLeavesNormalLikelihoodOut();
};

void TestModelDefinitionFile::readsTheExample()
{
    ModelDefinition model;
    QMap<QString, int> counts;
    pelk::PelkFileReader().readModelDefinition(iotest::examplePath(QStringLiteral("model-definition.txt")),
                                               model, counts);
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
    QCOMPARE(counts, (QMap<QString, int>{{"seen twice", 0}, {"seen once", 0}}));
}

void TestModelDefinitionFile::exampleRoundTripsByteForByte()
{
    const QByteArray original = iotest::exampleBytes(QStringLiteral("model-definition.txt"));
    QVERIFY(!original.isEmpty());
    QCOMPARE(original.count('\n'), 15);
    ModelDefinition model;
    QMap<QString, int> counts;
    pelk::PelkFileReader().readModelDefinition(iotest::examplePath(QStringLiteral("model-definition.txt")),
                                               model, counts);
    QCOMPARE(written(model), original);
}

void TestModelDefinitionFile::writesTheExampleFromModelCalls()
{
    ModelDefinition model;
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
    QCOMPARE(written(model), iotest::exampleBytes(QStringLiteral("model-definition.txt")));
}

void TestModelDefinitionFile::builtModelRoundTrips()
{
    ModelDefinition model;
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

    const QByteArray first = written(model);
    TempFiles files;
    const QString path = files.write(QStringLiteral("model.txt"), first);
    ModelDefinition reread;
    QMap<QString, int> counts;
    pelk::PelkFileReader().readModelDefinition(path, reread, counts);
    QCOMPARE(written(reread), first);
    QCOMPARE(reread.likelihoodCount(), 5);
    QVERIFY(!reread.isMultinomial(reread.likelihoodId(0)));
    QCOMPARE(reread.abundanceSymbolName(reread.likelihoodId(3)), QStringLiteral("g"));
    QCOMPARE(reread.categoryCount(reread.likelihoodId(3)), 0);
    QCOMPARE(counts, (QMap<QString, int>{{"caught", 0}, {"caught twice", 0}, {"x", 0}}));
}

void TestModelDefinitionFile::emptySectionsAreValid()
{
    ModelDefinition model;
    QMap<QString, int> counts{{"stale", 4}};
    QCOMPARE(readFailure("parameters;\nvariables;\nlikelihood \"L\";\n", model, counts), QString());
    QCOMPARE(model.parameterCount(), 0);
    QCOMPARE(model.variableCount(), 0);
    QCOMPARE(model.likelihoodCount(), 1);
    QCOMPARE(model.categoryCount(model.likelihoodId(0)), 0);
    QVERIFY(counts.isEmpty());
    QCOMPARE(written(model), QByteArray("parameters;\n\nvariables;\n\nlikelihood \"L\";\n"));
}

void TestModelDefinitionFile::firstLikelihoodMayBeNormal()
{
    ModelDefinition model;
    QMap<QString, int> counts;
    const QByteArray text = "parameters\nm;\n\nvariables;\n\nnormalLikelihood \"N\"\nobserved, 1,\n"
                            "expected, m,\nstandardError, 0.1;\n\nlikelihood \"L\"\na, m;\n";
    QCOMPARE(readFailure(text, model, counts), QString());
    QCOMPARE(model.likelihoodCount(), 2);
    QVERIFY(!model.isMultinomial(model.likelihoodId(0)));
    QVERIFY(model.isMultinomial(model.likelihoodId(1)));
    QCOMPARE(written(model), text);
}

void TestModelDefinitionFile::likelihoodWithOnlyTheUnobservedCategoryRoundTrips()
{
    ModelDefinition model;
    model.insertParameter(0, QStringLiteral("N"));
    model.insertParameter(1, QStringLiteral("p"));
    const int id = model.addLikelihood(QStringLiteral("L"), false);
    model.setUnobservedCategory(id, QStringLiteral("N"), QStringLiteral("1-p"), formula(QStringLiteral("1-p")));
    const QByteArray text = written(model);
    QCOMPARE(text, QByteArray("parameters\nN, p;\n\nvariables;\n\nlikelihood \"L\"\n, 1-p, N;\n"));
    ModelDefinition reread;
    QMap<QString, int> counts;
    QCOMPARE(readFailure(text, reread, counts), QString());
    const int rid = reread.likelihoodId(0);
    QCOMPARE(reread.categoryCount(rid), 0);
    QVERIFY(reread.hasUnobservedCategory(rid));
    QCOMPARE(reread.categoryProbability(rid, 0), QStringLiteral("1-p"));
    QCOMPARE(reread.abundanceSymbolName(rid), QStringLiteral("N"));
}

void TestModelDefinitionFile::normalLikelihoodWithEmptyFormulasRoundTrips()
{
    ModelDefinition model;
    model.addLikelihood(QStringLiteral("M"), false);
    model.addLikelihood(QStringLiteral("N"), true);
    const QByteArray text = written(model);
    QCOMPARE(text, QByteArray("parameters;\n\nvariables;\n\nlikelihood \"M\";\n\nnormalLikelihood \"N\"\n"
                              "observed, ,\nexpected, ,\nstandardError, ;\n"));
    ModelDefinition reread;
    QMap<QString, int> counts;
    QCOMPARE(readFailure(text, reread, counts), QString());
    const int id = reread.likelihoodId(1);
    QCOMPARE(reread.observed(id), QString());
    QVERIFY(!reread.observedEquation(id));
    QVERIFY(!reread.standardErrorEquation(id));
    QCOMPARE(written(reread), text);
}

void TestModelDefinitionFile::commentsAreIgnoredAndLinesCounted()
{
    ModelDefinition model;
    QMap<QString, int> counts;
    const QByteArray good = "# a model\nparameters s; # two words\n# only a comment\n\nvariables;\n"
                            "likelihood \"L\" # name\na, s; # done\n# end\n";
    QCOMPARE(readFailure(good, model, counts), QString());
    QCOMPARE(model.categoryProbability(model.likelihoodId(0), 0), QStringLiteral("s"));
    ModelDefinition other;
    const QByteArray bad = "# a model\nparameters s; # two words\n# only a comment\n\nvariables;\n"
                           "likelihood \"L\" # name\na, s**2; # done\n";
    QCOMPARE(readFailure(bad, other, counts), QStringLiteral("\"*\" - Invalid symbol name, line 7"));
}

void TestModelDefinitionFile::likelihoodNameBlanksCollapse()
{
    ModelDefinition model;
    QMap<QString, int> counts;
    QCOMPARE(readFailure("parameters;\nvariables;\nlikelihood \"  Two   words \";\n", model, counts), QString());
    QCOMPARE(model.likelihoodName(model.likelihoodId(0)), QStringLiteral("Two words"));

    // A name with two blanks is written as it is and read back with one.
    ModelDefinition built;
    built.addLikelihood(QStringLiteral("Size  of things"), false);
    const QByteArray text = written(built);
    QVERIFY(text.contains("likelihood \"Size  of things\";"));
    ModelDefinition reread;
    QCOMPARE(readFailure(text, reread, counts), QString());
    QCOMPARE(reread.likelihoodName(reread.likelihoodId(0)), QStringLiteral("Size of things"));
}

void TestModelDefinitionFile::readResetsTheCounts()
{
    ModelDefinition model;
    QMap<QString, int> counts{{"old", 3}, {"a", 9}};
    QCOMPARE(readFailure("parameters p;\nvariables;\nlikelihood \"L\"\na, p,\nb  c, 1-p;\n", model, counts),
             QString());
    QCOMPARE(counts, (QMap<QString, int>{{"a", 0}, {"b c", 0}}));
}

void TestModelDefinitionFile::failures_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("description");

    const QByteArray head = "parameters\ns, p;\n\nvariables\nq = 1 - p;\n\n";  // 6 lines

    QTest::newRow("empty file") << QByteArray() << "\"\" - The file is empty";
    QTest::newRow("wrong first keyword") << QByteArray("parameter s;\n")
                                         << "\"parameter\" - Unexpected characters, line 1";
    QTest::newRow("ends after parameters a") << QByteArray("parameters a")
                                             << "\"\" - Unexpected characters";
    QTest::newRow("missing ; after parameters") << QByteArray("parameters s\nvariables;\n")
                                                << "\"variables\" - Unexpected characters, line 2";
    QTest::newRow("illegal parameter name") << QByteArray("parameters\ns, 2p;\n")
                                            << "\"2p\" - Illegal parameter name, line 2";
    QTest::newRow("underscore parameter name") << QByteArray("parameters _x;\n")
                                               << "\"_x\" - Illegal parameter name, line 1";
    QTest::newRow("parameter list ends after ,") << QByteArray("parameters s,")
                                                 << "\"\" - Illegal parameter name";
    QTest::newRow("duplicate parameter") << QByteArray("parameters s, p,\ns;\n")
                                         << "\"s\" - Duplicate symbol name, line 2";
    QTest::newRow("no variables keyword") << QByteArray("parameters s;\nlikelihood \"L\";\n")
                                          << "\"likelihood\" - Unexpected characters, line 2";
    QTest::newRow("empty function definition") << QByteArray("parameters p;\nvariables\nq = ;\n")
                                               << "\";\" - Syntax error, line 3";
    QTest::newRow("empty function definition before ,") << QByteArray("parameters p;\nvariables\nq = ,\nr = p;\n")
                                                        << "\",\" - Syntax error, line 3";
    QTest::newRow("function without =") << QByteArray("parameters p;\nvariables\nq 1 - p;\n")
                                        << "\"1\" - Unexpected characters, line 3";
    QTest::newRow("function parse error") << QByteArray("parameters p;\nvariables\nq = (1 - p;\n")
                                          << "\"p\" - unbalanced Parentheses, line 3";
    QTest::newRow("assignment entry ends the file") << QByteArray("parameters p;\nvariables\nq = 1 - p,\nr")
                                                    << "\"r\" - Unexpected end of file, line 4";
    QTest::newRow("assignment list ends after ,") << QByteArray("parameters p;\nvariables\nq = 1 - p,\n")
                                                  << "\"\" - Unexpected end of file";
    // Written first in the requests section, it would read as an empty section.
    QTest::newRow("function named ;") << QByteArray("parameters p;\nvariables\nq = p,\n; = p;\nlikelihood \"L\";\n")
                                      << "\";\" - Unexpected characters, line 4";
    QTest::newRow("function ends without ;") << QByteArray("parameters p;\nvariables\nq = 1 - p")
                                             << "\"\" - Unexpected end of file";
    QTest::newRow("no likelihood") << QByteArray("parameters;\nvariables;\n") << "\"\" - Unexpected characters";
    QTest::newRow("optimizer instead of likelihood") << QByteArray("parameters;\nvariables;\noptimizer\n")
                                                     << "\"optimizer\" - Unexpected characters, line 3";
    QTest::newRow("likelihood without quote") << head + "likelihood L;\n"
                                              << "\"L\" - Unexpected characters, line 7";
    QTest::newRow("unbalanced quote") << head + "likelihood \"L;\n" << "\"\" - Unexpected end of file";
    QTest::newRow("unbalanced quote, more lines") << head + "likelihood \"L\na, s;\n"
                                                  << "\"\" - Unexpected end of file";
    QTest::newRow("duplicate likelihood name")
        << head + "likelihood \"L\";\nlikelihood \"L\";\n" << "\"\" - Duplicate likelihood name \"L\".";
    QTest::newRow("duplicate likelihood name, normal")
        << head + "likelihood \"L\";\nnormalLikelihood \" L \"\nobserved, 1,\nexpected, 1,\nstandardError, 1;\n"
        << "\"\" - Duplicate likelihood name \"L\".";
    QTest::newRow("duplicate label in one likelihood")
        << head + "likelihood \"L\"\nseen, s,\nseen, p;\n" << "\"\" - Duplicate category label \"seen\"";
    QTest::newRow("duplicate label in another likelihood")
        << head + "likelihood \"A\"\nseen twice, s;\nlikelihood \"B\"\nseen  twice, p;\n"
        << "\"\" - Duplicate category label \"seen twice\"";
    // A label that the saved workspace could not give back.
    QTest::newRow("label with :") << head + "likelihood \"L\"\nx : y, s;\n"
                                  << "\"x : y\" - Illegal category label, line 8";
    QTest::newRow("label starting with ; after the unobserved category")
        << head + "likelihood \"L\"\n, 1-s, s,\n; y, p;\n" << "\"; y\" - Illegal category label, line 9";
    QTest::newRow("empty probability") << head + "likelihood \"L\"\na, ;\n" << "\";\" - Syntax error, line 8";
    QTest::newRow("empty probability before ,") << head + "likelihood \"L\"\na,\n, b, s;\n"
                                                << "\",\" - Syntax error, line 9";
    QTest::newRow("probability parse error") << head + "likelihood \"L\"\na, s**p;\n"
                                             << "\"*\" - Invalid symbol name, line 8";
    QTest::newRow("unknown abundance symbol") << head + "likelihood \"L\"\na, s,\n, 1-s, N;\n"
                                              << "\"N\" - Unrecognized symbol name, line 9";
    QTest::newRow("unobserved without abundance") << head + "likelihood \"L\"\n, 1-s;\n"
                                                  << "\";\" - Unexpected characters, line 8";
    QTest::newRow("label runs to the end") << head + "likelihood \"L\"\nseen twice"
                                           << "\"\" - Unexpected end of file";
    QTest::newRow("probability runs to the end") << head + "likelihood \"L\"\nseen twice, s*p"
                                                 << "\"\" - Unexpected end of file";
    QTest::newRow("missing ; after categories") << head + "likelihood \"L\"\na, s\nlikelihood \"M\";\n"
                                                << "\"likelihood\" - illegal syntax, line 9";
    QTest::newRow("normal: missing expected")
        << head + "normalLikelihood \"N\"\nobserved, 1,\nstandardError, 1;\n"
        << "\"standardError\" - Unexpected characters, line 9";
    QTest::newRow("normal: ends with , instead of ;")
        << head + "normalLikelihood \"N\"\nobserved, 1,\nexpected, 1,\nstandardError, 1,\n"
        << "\",\" - Unexpected characters, line 10";
    QTest::newRow("normal: runs to the end") << head + "normalLikelihood \"N\"\nobserved, 1,\nexpected, 1,\nstandardError, 1"
                                             << "\"\" - Unexpected end of file";
    QTest::newRow("normal: parse error") << head + "normalLikelihood \"N\"\nobserved, 1,\nexpected, s)\n,standardError, 1;\n"
                                         << "\")\" - illegal syntax, line 9";
}

void TestModelDefinitionFile::failures()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, description);
    ModelDefinition model;
    QMap<QString, int> counts;
    QCOMPARE(readFailure(text, model, counts), description);
}

void TestModelDefinitionFile::failureInThirdLikelihoodKeepsWhatWasRead()
{
    const QByteArray text = "parameters\ns, p;\n\nvariables\nq = 1 - p;\n\n"
                            "likelihood \"First\"\na, s,\nb, 1-s;\n\n"
                            "normalLikelihood \"Second\"\nobserved, 1,\nexpected, p,\nstandardError, 0.1;\n\n"
                            "likelihood \"Third\"\nc, p,\nd, q,\ne, 2x;\n";
    ModelDefinition model;
    QMap<QString, int> counts;
    QCOMPARE(readFailure(text, model, counts), QStringLiteral("\"2x\" - Invalid symbol name, line 19"));
    QCOMPARE(model.parameterNames(), QStringList({"s", "p"}));
    QCOMPARE(model.variableNames(), QStringList({"q"}));
    QCOMPARE(model.likelihoodCount(), 3);
    QCOMPARE(model.categoryCount(model.likelihoodId(0)), 2);
    QCOMPARE(model.expected(model.likelihoodId(1)), QStringLiteral("p"));
    const int third = model.likelihoodId(2);
    QCOMPARE(model.likelihoodName(third), QStringLiteral("Third"));
    QCOMPARE(model.categoryCount(third), 2);
    QCOMPARE(model.categoryLabel(third, 1), QStringLiteral("d"));
    // Every label that made it into the model has a count.
    QCOMPARE(counts, (QMap<QString, int>{{"a", 0}, {"b", 0}, {"c", 0}, {"d", 0}}));
}

void TestModelDefinitionFile::parseErrorLeavesNormalLikelihoodOut()
{
    const QByteArray text = "parameters s;\nvariables;\nlikelihood \"L\";\n"
                            "normalLikelihood \"N\"\nobserved, 1,\nexpected, s+,\nstandardError, 1;\n";
    ModelDefinition model;
    QMap<QString, int> counts;
    QCOMPARE(readFailure(text, model, counts), QStringLiteral("\"+\" - illegal syntax, line 6"));
    QCOMPARE(model.likelihoodCount(), 1);
}

QTEST_GUILESS_MAIN(TestModelDefinitionFile)
#include "tst_modeldefinitionfile.moc"
