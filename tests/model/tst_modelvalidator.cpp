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
    // A model is valid exactly when validation reports nothing; findings
    // are written bold, but for the normal likelihoods'.
    void reportsEveryFinding_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("messages");
        QTest::addColumn<QString>("boldMessages");
        const auto valid = [](const char *name, const QString &model) { QTest::newRow(name) << model << "" << ""; };
        const auto invalid = [](const char *name, const QString &model, const QString &messages) {
            QTest::newRow(name) << model << messages << messages;
        };
        const QString notOne = "Probabilities for likelihood \"L\" do not sum to 1.\n";
        valid("complementary probabilities", "parameters theta;\nvariables;\nlikelihood \"L\"\nA, theta,\nB, 1-theta;\n");
        invalid("probabilities that do not sum to 1 at theta = 0.02",
                "parameters theta;\nvariables;\nlikelihood \"L\"\nA, theta,\nB, theta;\n", notOne);
        // With two parameters the test point is (0.02, 0.98): the second skips
        // 0.5, so a + b happens to sum to 1. With three it is (0.02, 0.34, 0.66).
        valid("two parameters skip 0.5", "parameters a, b;\nvariables;\nlikelihood \"L\"\nA, a,\nB, b;\n");
        invalid("three parameters", "parameters a, b, c;\nvariables;\nlikelihood \"L\"\nA, a,\nB, b,\nC, c;\n", notOne);
        valid("unobserved category counts in the sum",
              "parameters N, p;\nvariables;\nlikelihood \"Trap\"\ncaught, p,\n, 1-p, N;\n");
        invalid("circular pair in list order", "parameters a;\nvariables\nf = g + 1,\ng = f * 2;\nlikelihood \"L\"\nA, 1;\n",
                "\"f\" contains a circular reference.\n\"g\" contains a circular reference.\n");
        invalid("cycle reached from another function",
                "parameters a;\nvariables\nf = g,\ng = h,\nh = g;\nlikelihood \"L\"\nA, 1;\n",
                "\"g\" contains a circular reference.\n\"h\" contains a circular reference.\n");
        invalid("undefined symbols, twice when used twice, and no sum test",
                "parameters a;\nvariables\nf = z * z;\nlikelihood \"L\"\nA, a,\nB, y;\n",
                "\"f\" uses undefined symbol \"z\".\n\"f\" uses undefined symbol \"z\".\n"
                "Category \"B\" uses undefined symbol \"y\".\n");
        invalid("undefined symbol in the unobserved category",
                "parameters N, p;\nvariables;\nlikelihood \"Trap\"\ncaught, p,\n, 1-q, N;\n",
                "Category \"Trap unobserved\" uses undefined symbol \"q\".\n");
        QTest::newRow("normal likelihood messages run together, not bold")
            << "parameters a;\nvariables;\nlikelihood \"L\"\nA, 1;\n"
               "normalLikelihood \"N\"\nobserved, x,\nexpected, y,\nstandardError, z;\n"
            << "Likelihood \"N\" undefined symbol \"x\" in \"observed\".Likelihood \"N\" undefined symbol \"y\" in "
               "\"expected\".Likelihood \"N\" undefined symbol \"z\" in \"standard error\"."
            << "";
        invalid("normal likelihood with an empty formula",
                "parameters a;\nvariables;\nlikelihood \"L\"\nA, 1;\n"
                "normalLikelihood \"N\"\nobserved, 1,\nexpected, ,\nstandardError, 1;\n",
                "Likelihood \"N\" has no formula for \"expected\".\n");
        // f = a * 1e17 exceeds 1e15 until the parameter has been scaled down
        // three times: a = 0.001 * (0.02 + 3 * 0.96) = 0.0029, which makes the
        // single probability a / 0.0029 equal to 1.
        valid("rescaling until the functions are below 1e15",
              "parameters a;\nvariables\nf = a * 1e17;\nlikelihood \"L\"\nA, a/0.0029;\n");
        // A function that never shrinks ends the rescaling after a bounded
        // number of passes; the sum test still runs.
        invalid("rescaling is bounded", "parameters a;\nvariables\nf = 1e20;\nlikelihood \"L\"\nA, a,\nB, a;\n", notOne);
        valid("NaN sums are not reported", "parameters a;\nvariables;\nlikelihood \"L\"\nA, log(-a);\n");
        invalid("a function that uses itself", "parameters a;\nvariables\nf = f + 1;\nlikelihood \"L\"\nA, 1;\n",
                "\"f\" contains a circular reference.\n");

        // v1 = v0*v0, ..., v30 = v29*v29 is 785 bytes, but written out v_k has
        // 2^(k+2) - 3 nodes: v18 is the first above a million.
        QString doubling = QStringLiteral("parameters a;\nvariables\nv0 = a");
        for (int k = 1; k <= 30; ++k)
            doubling += QStringLiteral(",\nv%1 = v%2*v%2").arg(k).arg(k - 1);
        doubling += QStringLiteral(";\nlikelihood \"L\"\nA, v30,\nB, 1-v30;\n");
        const QString tooLarge = QStringLiteral("\"v18\" is too large: written out with the convenience functions it uses, "
                                                "it has more than 1000000 operations and values.\n");
        invalid("shared functions that double in size", doubling, tooLarge);

        // Thirty functions of 9,999 terms, each ending in the one before: every
        // formula is within the parser's depth, the chain is not.
        QString chain = QStringLiteral("parameters a;\nvariables\n");
        for (int k = 0; k < 30; ++k) {
            chain += QStringLiteral("f%1 = ").arg(k);
            for (int term = 1; term < 9999; ++term)
                chain += QStringLiteral("a+");
            chain += k == 0 ? QStringLiteral("a") : QStringLiteral("f%1").arg(k - 1);
            chain += k == 29 ? QStringLiteral(";\n") : QStringLiteral(",\n");
        }
        chain += QStringLiteral("likelihood \"L\"\nA, f29;\n");
        const QString tooDeep = QStringLiteral("\"f1\" is nested too deeply: written out with the convenience functions "
                                               "it uses, it is more than 10000 levels deep.\n");
        invalid("a chain of deep functions", chain, tooDeep);
    }

    void reportsEveryFinding()
    {
        QFETCH(QString, model);
        QFETCH(QString, messages);
        QFETCH(QString, boldMessages);
        auto definition = readModel(model);
        pelk::PlainTextSink sink;
        QCOMPARE(pelk::validate(*definition, sink), messages.isEmpty());
        QCOMPARE(sink.text(), messages);
        QCOMPARE(sink.boldText(), boldMessages);
    }

    // Symbols bind to the function before the parameter of the same name,
    // afresh on every call (an insert rebuilds the parameter nodes that old
    // bindings would point at), and no parameter is left reading the test
    // point.
    void bindsSymbolsAfreshOnEveryCall()
    {
        auto model = readModel("parameters a, b;\nvariables\nb = 1 - a;\nlikelihood \"L\"\nA, a,\nB, b;\n");
        pelk::PlainTextSink sink;
        QVERIFY(pelk::validate(*model, sink));
        QVERIFY(model->parameter(0)->values() == nullptr && model->parameter(1)->values() == nullptr);
        model->insertParameter(0, QStringLiteral("c"));
        QVERIFY(pelk::validate(*model, sink));
        const std::vector<double> values{0.0, 0.3, 0.9};
        for (int i = 0; i < 3; ++i)
            model->parameter(i)->setValues(&values);
        QCOMPARE(model->categoryEquation(0, 1)->evaluate(), 0.7);
    }

    void bindingsOfRemovedSymbolsAreDropped_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("messages");
        QTest::newRow("parameter deleted") << "delete a" << "\"f\" uses undefined symbol \"a\".\n";
        QTest::newRow("parameter renamed") << "rename a" << "\"f\" uses undefined symbol \"a\".\n";
        QTest::newRow("function deleted") << "delete g" << "\"f\" uses undefined symbol \"g\".\n";
        QTest::newRow("function renamed") << "rename g" << "\"f\" uses undefined symbol \"g\".\n";
    }

    // The second validation must not follow the first one's binding to the
    // node that went away (AddressSanitizer reports the use after free).
    void bindingsOfRemovedSymbolsAreDropped()
    {
        QFETCH(QString, change);
        QFETCH(QString, messages);
        auto model = readModel("parameters a, b;\nvariables\ng = b * 2,\nf = a + g;\nlikelihood \"L\"\nA, b,\nB, 1-b;\n");
        pelk::PlainTextSink first;
        QVERIFY(pelk::validate(*model, first));
        if (change == QLatin1String("delete a"))
            model->deleteParameter(0);
        else if (change == QLatin1String("rename a"))
            model->renameParameter(0, QStringLiteral("c"));
        else if (change == QLatin1String("delete g"))
            model->deleteVariable(0);
        else
            model->renameVariable(0, QStringLiteral("h"));
        pelk::PlainTextSink second;
        QVERIFY(!pelk::validate(*model, second));
        QCOMPARE(second.text(), messages);
    }
};

QTEST_GUILESS_MAIN(TestModelValidator)
#include "tst_modelvalidator.moc"
