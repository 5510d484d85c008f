// Model validation: binding, undefined symbols, circular convenience
// functions and the sum-to-one test with its test point.
#include "../support/TempFiles.h"

#include "io/PelkFileReader.h"
#include "model/MessageSink.h"
#include "model/ModelDefinition.h"
#include "model/ModelValidator.h"

#include <QTest>

#include <memory>

using pelk::ModelDefinition;

namespace {

// A model read from the text of a model definition file.
std::unique_ptr<ModelDefinition> readModel(const QString &text)
{
    support::TempFiles files;
    const QString path = files.write(QStringLiteral("model.txt"), text);
    auto model = std::make_unique<ModelDefinition>();
    QMap<QString, int> counts;
    pelk::PelkFileReader().readModelDefinition(path, *model, counts);
    return model;
}

} // namespace

class TestModelValidator : public QObject
{
    Q_OBJECT

private slots:
    void reportsEveryFinding_data();
    void reportsEveryFinding();
    void bindsSymbolsToTheFunctionBeforeTheParameterOfTheSameName();
    void leavesNoParameterPointingAtTheTestVector();
    void bindingIsRedoneOnEveryCall();
};

void TestModelValidator::reportsEveryFinding_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("messages");
    QTest::addColumn<QString>("boldMessages");

    const QString ab = QStringLiteral("parameters a, b;\nvariables;\n");
    QTest::newRow("complementary probabilities")
        << "parameters theta;\nvariables;\nlikelihood \"L\"\nA, theta,\nB, 1-theta;\n" << true << "" << "";
    QTest::newRow("probabilities that do not sum to 1 at theta = 0.02")
        << "parameters theta;\nvariables;\nlikelihood \"L\"\nA, theta,\nB, theta;\n" << false
        << "Probabilities for likelihood \"L\" do not sum to 1.\n"
        << "Probabilities for likelihood \"L\" do not sum to 1.\n";
    // With two parameters the test point is (0.02, 0.98): the second skips
    // 0.5, so a + b happens to sum to 1. With three it is (0.02, 0.34, 0.66).
    QTest::newRow("two parameters skip 0.5") << ab + "likelihood \"L\"\nA, a,\nB, b;\n" << true << "" << "";
    QTest::newRow("three parameters") << "parameters a, b, c;\nvariables;\nlikelihood \"L\"\nA, a,\nB, b,\nC, c;\n"
                                      << false << "Probabilities for likelihood \"L\" do not sum to 1.\n"
                                      << "Probabilities for likelihood \"L\" do not sum to 1.\n";
    QTest::newRow("unobserved category counts in the sum")
        << "parameters N, p;\nvariables;\nlikelihood \"Trap\"\ncaught, p,\n, 1-p, N;\n" << true << "" << "";
    QTest::newRow("circular pair in list order")
        << "parameters a;\nvariables\nf = g + 1,\ng = f * 2;\nlikelihood \"L\"\nA, 1;\n" << false
        << "\"f\" contains a circular reference.\n\"g\" contains a circular reference.\n"
        << "\"f\" contains a circular reference.\n\"g\" contains a circular reference.\n";
    QTest::newRow("cycle reached from another function")
        << "parameters a;\nvariables\nf = g,\ng = h,\nh = g;\nlikelihood \"L\"\nA, 1;\n" << false
        << "\"g\" contains a circular reference.\n\"h\" contains a circular reference.\n"
        << "\"g\" contains a circular reference.\n\"h\" contains a circular reference.\n";
    QTest::newRow("undefined symbols, twice when used twice, and no sum test")
        << "parameters a;\nvariables\nf = z * z;\nlikelihood \"L\"\nA, a,\nB, y;\n" << false
        << "\"f\" uses undefined symbol \"z\".\n\"f\" uses undefined symbol \"z\".\n"
           "Category \"B\" uses undefined symbol \"y\".\n"
        << "\"f\" uses undefined symbol \"z\".\n\"f\" uses undefined symbol \"z\".\n"
           "Category \"B\" uses undefined symbol \"y\".\n";
    QTest::newRow("undefined symbol in the unobserved category")
        << "parameters N, p;\nvariables;\nlikelihood \"Trap\"\ncaught, p,\n, 1-q, N;\n" << false
        << "Category \"Trap unobserved\" uses undefined symbol \"q\".\n"
        << "Category \"Trap unobserved\" uses undefined symbol \"q\".\n";
    QTest::newRow("normal likelihood messages run together, not bold")
        << "parameters a;\nvariables;\nlikelihood \"L\"\nA, 1;\n"
           "normalLikelihood \"N\"\nobserved, x,\nexpected, y,\nstandardError, z;\n"
        << false
        << "Likelihood \"N\" undefined symbol \"x\" in \"observed\".Likelihood \"N\" undefined symbol \"y\" in "
           "\"expected\".Likelihood \"N\" undefined symbol \"z\" in \"standard error\"."
        << "";
    QTest::newRow("normal likelihood with an empty formula")
        << "parameters a;\nvariables;\nlikelihood \"L\"\nA, 1;\n"
           "normalLikelihood \"N\"\nobserved, 1,\nexpected, ,\nstandardError, 1;\n"
        << false << "Likelihood \"N\" has no formula for \"expected\".\n"
        << "Likelihood \"N\" has no formula for \"expected\".\n";
    // f = a * 1e17 exceeds 1e15 until the parameter has been scaled down
    // three times: a = 0.001 * (0.02 + 3 * 0.96) = 0.0029, which makes the
    // single probability a / 0.0029 equal to 1.
    QTest::newRow("rescaling until the functions are below 1e15")
        << "parameters a;\nvariables\nf = a * 1e17;\nlikelihood \"L\"\nA, a/0.0029;\n" << true << "" << "";
    // A function that never shrinks ends the rescaling after a bounded
    // number of passes; the sum test still runs.
    QTest::newRow("rescaling is bounded")
        << "parameters a;\nvariables\nf = 1e20;\nlikelihood \"L\"\nA, a,\nB, a;\n" << false
        << "Probabilities for likelihood \"L\" do not sum to 1.\n"
        << "Probabilities for likelihood \"L\" do not sum to 1.\n";
    QTest::newRow("NaN sums are not reported")
        << "parameters a;\nvariables;\nlikelihood \"L\"\nA, log(-a);\n" << true << "" << "";
}

void TestModelValidator::reportsEveryFinding()
{
    QFETCH(QString, model);
    QFETCH(bool, valid);
    QFETCH(QString, messages);
    QFETCH(QString, boldMessages);
    auto definition = readModel(model);
    pelk::PlainTextSink sink;
    QCOMPARE(pelk::validate(*definition, sink), valid);
    QCOMPARE(sink.text(), messages);
    QCOMPARE(sink.boldText(), boldMessages);
}

void TestModelValidator::bindsSymbolsToTheFunctionBeforeTheParameterOfTheSameName()
{
    auto model = readModel("parameters a, b;\nvariables\nb = 1 - a;\nlikelihood \"L\"\nA, a,\nB, b;\n");
    pelk::PlainTextSink sink;
    QVERIFY(pelk::validate(*model, sink));
    const std::vector<double> values{0.3, 0.9};
    model->parameter(0)->setValues(&values);
    model->parameter(1)->setValues(&values);
    QCOMPARE(model->categoryEquation(0, 1)->evaluate(), 0.7);
}

void TestModelValidator::leavesNoParameterPointingAtTheTestVector()
{
    auto model = readModel("parameters a, b;\nvariables;\nlikelihood \"L\"\nA, a,\nB, b;\n");
    pelk::PlainTextSink sink;
    QVERIFY(pelk::validate(*model, sink));
    QVERIFY(model->parameter(0)->values() == nullptr);
    QVERIFY(model->parameter(1)->values() == nullptr);
}

void TestModelValidator::bindingIsRedoneOnEveryCall()
{
    auto model = readModel("parameters a;\nvariables\nf = a;\nlikelihood \"L\"\nA, f,\nB, 1-f;\n");
    pelk::PlainTextSink first;
    QVERIFY(pelk::validate(*model, first));
    // Parameter nodes are rebuilt by the insert: old bindings would dangle.
    model->insertParameter(0, QStringLiteral("b"));
    pelk::PlainTextSink second;
    QVERIFY(pelk::validate(*model, second));
    const std::vector<double> values{0.0, 0.25};
    model->parameter(0)->setValues(&values);
    model->parameter(1)->setValues(&values);
    QCOMPARE(model->categoryEquation(0, 1)->evaluate(), 0.75);
}

QTEST_GUILESS_MAIN(TestModelValidator)
#include "tst_modelvalidator.moc"
