// Formula trees: evaluation, text form, term keys, differentiability,
// numeric and symbolic derivatives, copies, symbol walks and the
// exponential cache.
#include "BoundFormula.h"

#include "expr/BinaryOperation.h"
#include "expr/Literal.h"
#include "expr/Parser.h"
#include "expr/Symbol.h"
#include "expr/SymbolValidator.h"
#include "expr/UnaryOperation.h"

#include <QTest>

#include <cmath>
#include <limits>

using zav::EquationPtr;

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double notANumber = std::numeric_limits<double>::quiet_NaN();

QStringList sortedTerms(const zav::Equation &tree)
{
    QSet<QString> terms;
    tree.collectTerms(terms);
    QStringList sorted(terms.begin(), terms.end());
    sorted.sort();
    return sorted;
}

// Points at which derivatives are compared: all parameters positive, so
// logarithms and real powers stay defined.
const double points[][3] = {{0.7, 1.3, 2.1}, {1.5, 0.4, 0.9}, {2.2, 1.7, 0.3}};

void compareWithDifference(double derivative, double difference, int point)
{
    const double tolerance = 1e-6 * std::max(1.0, std::abs(difference));
    if (!(std::abs(derivative - difference) <= tolerance))
        QFAIL(qPrintable(QStringLiteral("at point %1: derivative %2, central difference %3")
                             .arg(point).arg(derivative, 0, 'g', 12).arg(difference, 0, 'g', 12)));
}

// A convenience function "f" used by another formula: the outer formula's
// symbol f is bound to the root of f's own tree.
struct ConvenienceFunction
{
    BoundFormula f;
    BoundFormula outer;
    ConvenienceFunction(const QString &fText, const QString &outerText)
        : f(fText), outer(outerText)
    {
        QList<zav::Symbol *> symbols;
        outer.tree().collectSymbols(symbols);
        for (zav::Symbol *symbol : std::as_const(symbols))
            if (symbol->name() == u"f")
                symbol->setBinding(&f.tree());
    }
    void setValues(double a, double b, double c)
    {
        f.setValues(a, b, c);
        outer.setValues(a, b, c);
    }
};

} // namespace

class TestEquation : public QObject
{
    Q_OBJECT

private slots:
    void evaluatesIllegalValuesAsInfinitiesAndNaNs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("expected");
        QTest::newRow("1/0") << "1/0" << 0.0 << inf;
        QTest::newRow("-1/0") << "a/0" << -1.0 << -inf;
        QTest::newRow("0/0") << "0/0" << 0.0 << notANumber;
        QTest::newRow("log(0)") << "log(0)" << 0.0 << -inf;
        QTest::newRow("log(-1)") << "log(-1)" << 0.0 << notANumber;
        QTest::newRow("invLogit(1000) overflows") << "invLogit(1000)" << 0.0 << notANumber;
        QTest::newRow("invLogit(-1000)") << "invLogit(-1000)" << 0.0 << 0.0;
        QTest::newRow("exp(1000)") << "exp(a)" << 1000.0 << inf;
        QTest::newRow("negative base, real exponent") << "a^0.5" << -4.0 << notANumber;
        QTest::newRow("inf-inf") << "1/0-1/a" << 0.0 << notANumber;
    }

    void evaluatesIllegalValuesAsInfinitiesAndNaNs()
    {
        QFETCH(QString, text);
        QFETCH(double, a);
        QFETCH(double, expected);
        BoundFormula formula(text);
        formula.setValues(a);
        const double value = formula.evaluate();
        if (std::isnan(expected))
            QVERIFY2(std::isnan(value), qPrintable(QString::number(value)));
        else
            QCOMPARE(value, expected);
    }

    void printsLiteralsInGeneralFormatWithSixDigits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("one half") << 0.5 << "0.5";
        QTest::newRow("one ten-millionth") << 1e-7 << "1e-07";
        QTest::newRow("1.2 million") << 1.2e6 << "1.2e+06";
        QTest::newRow("integer") << 2.0 << "2";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("one third") << 1.0 / 3.0 << "0.333333";
        QTest::newRow("six digits fixed") << 123456.0 << "123456";
        QTest::newRow("seven digits rounded") << 1234567.0 << "1.23457e+06";
        QTest::newRow("0.0001 stays fixed") << 0.0001 << "0.0001";
        QTest::newRow("0.00001 goes exponent") << 0.00001 << "1e-05";
        QTest::newRow("three-digit exponent") << 2.5e-300 << "2.5e-300";
    }

    void printsLiteralsInGeneralFormatWithSixDigits()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(zav::Literal(value).toString(), text);
    }

    // The parser's precedence table checks how grouped trees print.
    void printsTreesWithoutBlanksOrParentheses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("literal 2.50") << "2.50" << "2.5";
        QTest::newRow("unbound name") << "zeta+1" << "zeta+1";
        QTest::newRow("dollar name") << "$my.name$*2" << "$my.name$*2";
    }

    void printsTreesWithoutBlanksOrParentheses()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(BoundFormula(text).tree().toString(), expected);
    }

    void collectsSufficientStatisticTerms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("terms");
        QTest::newRow("a*b/c") << "a*b/c" << QStringList{"1/c", "a", "b"};
        QTest::newRow("constant exponent") << "a^2" << QStringList{};
        QTest::newRow("a^b") << "a^b" << QStringList{"a^b"};
        QTest::newRow("exp of a sum") << "exp(a + b)" << QStringList{"exp(a+b)"};
        QTest::newRow("constant factor") << "2 * (a + b)" << QStringList{"a+b"};
        QTest::newRow("parameter") << "a" << QStringList{"a"};
        QTest::newRow("literal") << "3" << QStringList{};
        QTest::newRow("product denominator") << "a/(b*c)" << QStringList{"1/b", "1/c", "a"};
        QTest::newRow("sum denominator") << "a/(b+c)" << QStringList{"1/b+c", "a"};
        QTest::newRow("nested reciprocal") << "a/(1/b)" << QStringList{"1/1/b", "a"};
        QTest::newRow("product exponent") << "2^(a*b)" << QStringList{"2^a", "2^b"};
        QTest::newRow("quotient exponent") << "c^(a/b)" << QStringList{"c^1/b", "c^a"};
        QTest::newRow("base text, not base terms") << "(a*b)^c" << QStringList{"a*b^c"};
        QTest::newRow("repeated factor") << "a*a*b" << QStringList{"a", "b"};
        QTest::newRow("negation") << "-a" << QStringList{"-a"};
        QTest::newRow("difference") << "a-b" << QStringList{"a-b"};
        QTest::newRow("functions") << "log(a)*invLogit(b)" << QStringList{"invLogit(b)", "log(a)"};
    }

    void collectsSufficientStatisticTerms()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, terms);
        QCOMPARE(sortedTerms(BoundFormula(text).tree()), terms);
    }

    void decidesDifferentiability_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("differentiable");
        QTest::newRow("a^a by a") << "a^a" << "a" << false;
        QTest::newRow("a^a by b") << "a^a" << "b" << true;
        QTest::newRow("b-a^a by a") << "b-a^a" << "a" << false;
        QTest::newRow("a^b by a") << "a^b" << "a" << true;
        QTest::newRow("a^b by b") << "a^b" << "b" << true;
        QTest::newRow("inside exp") << "exp(a^a)" << "a" << false;
        QTest::newRow("inside a quotient") << "c/a^(2*a)" << "a" << false;
        QTest::newRow("both sides, compound") << "(a*b)^(a+c)" << "a" << false;
        QTest::newRow("base side only") << "(a*b)^(a+c)" << "b" << true;
        QTest::newRow("exponent side only") << "(a*b)^(a+c)" << "c" << true;
        QTest::newRow("constant exponent") << "a^2" << "a" << true;
        QTest::newRow("constant base") << "2^a" << "a" << true;
        QTest::newRow("no power") << "log(a*b)/c" << "c" << true;
    }

    void decidesDifferentiability()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(bool, differentiable);
        QCOMPARE(BoundFormula(text).tree().isDifferentiable(name), differentiable);
    }

    void derivativeValueMatchesCentralDifference_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        const char *rows[][2] = {
            {"a^2", "a"}, {"2^a", "a"}, {"a*b", "a"}, {"a*b", "b"}, {"a/b", "a"}, {"a/b", "b"},
            {"exp(a*b)", "b"}, {"log(a*b+c)", "c"}, {"log(a)/b", "a"}, {"invLogit(a-b)", "b"},
            {"-a^3", "a"}, {"a^b", "a"}, {"a^b", "b"}, {"(a+b)^(c*2)", "a"}, {"c^(a/b)", "b"},
            {"exp(-a)*invLogit(c)", "a"}, {"a-b*c", "c"}, {"2*a+3", "a"}, {"c", "a"},
            {"exp(a)^2", "a"}, {"log(invLogit(a*c))", "c"}, {"a*b*c/(a+b+c)", "b"}};
        for (const auto &row : rows)
            QTest::addRow("%s by %s", row[0], row[1]) << row[0] << row[1];
    }

    void derivativeValueMatchesCentralDifference()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        BoundFormula formula(text);
        QVERIFY(formula.tree().isDifferentiable(name));
        for (int p = 0; p < 3; ++p) {
            formula.setValues(points[p][0], points[p][1], points[p][2]);
            compareWithDifference(formula.tree().derivativeValue(name), formula.centralDifference(name), p);
        }
    }

    void symbolicDerivativeMatchesCentralDifference_data()
    {
        derivativeValueMatchesCentralDifference_data();
    }

    // The derivative tree copies the bound symbols, so it reads the same values.
    void symbolicDerivativeMatchesCentralDifference()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        BoundFormula formula(text);
        const EquationPtr derivative = formula.tree().derivative(name);
        for (int p = 0; p < 3; ++p) {
            formula.setValues(points[p][0], points[p][1], points[p][2]);
            compareWithDifference(derivative->evaluate(), formula.centralDifference(name), p);
        }
    }

    void derivativeValueAtTheDocumentedEdges()
    {
        // Neither side depends on a: the constant-base rule multiplies 0 by
        // 4 ln(-2), which is NaN.
        BoundFormula negativeBase("(-2)^2");
        QVERIFY(std::isnan(negativeBase.tree().derivativeValue("a")));
        QVERIFY(std::isnan(negativeBase.tree().derivative("a")->evaluate()));

        // u^v with the name on both sides has no derivative value: 0.
        BoundFormula both("a^a");
        both.setValues(2.0);
        QCOMPARE(both.tree().derivativeValue("a"), 0.0);
    }

    void convenienceFunctionActsThroughItsBinding()
    {
        ConvenienceFunction product("a*b", "2*f+c");
        product.setValues(2.0, 3.0, 5.0);
        zav::Equation &tree = product.outer.tree();
        QCOMPARE(tree.evaluate(), 17.0);
        QCOMPARE(tree.toString(), QStringLiteral("2*a*b+c"));
        QVERIFY(tree.dependsOn("a"));
        QVERIFY(tree.dependsOn("f"));
        QVERIFY(tree.isDifferentiable("a"));
        QCOMPARE(tree.derivativeValue("a"), 6.0);
        QCOMPARE(tree.derivative("a")->evaluate(), 6.0);

        ConvenienceFunction sum("a+b", "c*f");
        QCOMPARE(sortedTerms(sum.outer.tree()), (QStringList{"a+b", "c"}));

        ConvenienceFunction power("a^a", "b*f");
        QVERIFY(!power.outer.tree().isDifferentiable("a"));
    }

    void cloneOutlivesTheOriginalAndSharesBindings()
    {
        BoundFormula parameters("0");
        parameters.setValues(1.0, 2.0, 3.0);
        EquationPtr original = zav::parse("exp(a)*b+log(c)", pelk::SymbolValidator());
        parameters.bind(*original);
        const EquationPtr copy = original->clone();
        original.reset();

        QCOMPARE(copy->evaluate(), std::exp(1.0) * 2.0 + std::log(3.0));
        QList<zav::Symbol *> symbols;
        copy->collectSymbols(symbols);
        QCOMPARE(symbols.size(), 3);
        for (const zav::Symbol *symbol : std::as_const(symbols))
            QCOMPARE(symbol->binding(), parameters.parameter(symbol->name()));

        // A copied parameter node reads the same shared vector.
        const EquationPtr parameterCopy = parameters.parameter("c")->clone();
        parameters.value("c") = 9.0;
        QCOMPARE(parameterCopy->evaluate(), 9.0);
    }

    // Every occurrence, left to right, one node each; a bound symbol is not
    // followed into its function's tree, and parameter nodes are no symbols.
    void collectSymbolsListsEveryOccurrenceWithoutFollowingBindings()
    {
        const auto names = [](const QList<zav::Symbol *> &symbols) {
            QStringList result;
            for (const zav::Symbol *symbol : symbols)
                result << symbol->name();
            return result;
        };
        const EquationPtr tree = zav::parse("b*a+exp(b)-c/(-a)^2", pelk::SymbolValidator());
        QList<zav::Symbol *> symbols;
        tree->collectSymbols(symbols);
        QCOMPARE(names(symbols), (QStringList{"b", "a", "b", "c", "a"}));
        QVERIFY(symbols.at(0) != symbols.at(2));
        ConvenienceFunction f("a*b", "f+c");
        symbols.clear();
        f.outer.tree().collectSymbols(symbols);
        f.f.parameter("a")->collectSymbols(symbols);
        QCOMPARE(names(symbols), (QStringList{"f", "c"}));
    }

    void dependsOnFollowsBindingsAndIsCaseSensitive()
    {
        ConvenienceFunction f("exp(a)*2", "f/c");
        QString depends;
        for (const char *name : {"a", "c", "f", "b", "A", "2"})
            depends += f.outer.tree().dependsOn(name) ? name : "-";
        QCOMPARE(depends, QString("acf---"));
        BoundFormula unbound("zeta*2");
        QVERIFY(unbound.tree().dependsOn("zeta") && !unbound.tree().dependsOn("Zeta"));
    }

    // f = g, g = h, h = g: validation reports the circle, but it first asks
    // the trees whether they depend on themselves, and that must end.
    void dependsOnStopsOnACycleOfBindings()
    {
        zav::Symbol f("g");
        zav::Symbol g("h");
        zav::Symbol h("g");
        f.setBinding(&g);
        g.setBinding(&h);
        h.setBinding(&g);
        for (int pass = 0; pass < 2; ++pass) {  // the guard is reset after each walk
            QVERIFY(!f.dependsOn("f"));
            QVERIFY(g.dependsOn("g"));
            QVERIFY(h.dependsOn("h"));
            QVERIFY(f.dependsOn("h"));
            QVERIFY(!f.dependsOn("x"));
        }
    }

    void unboundSymbolEvaluatesToNaN()
    {
        QVERIFY(std::isnan(zav::Symbol("a").evaluate()));
        QVERIFY(std::isnan(BoundFormula("2*zeta").evaluate()));
    }

    // exp keeps its last argument and result: the arguments evaluated in
    // turn and the calls of exp they cost. A NaN never matches, and 0 on a
    // fresh node needs no call.
    void exponentialCacheCallsExpOnlyForANewArgument_data()
    {
        QTest::addColumn<QList<double>>("arguments");
        QTest::addColumn<qlonglong>("calls");
        QTest::newRow("repeated, then back to an older one") << QList<double>{1.0, 1.0, 2.0, 1.0} << 3LL;
        QTest::newRow("0 on a fresh node") << QList<double>{0.0} << 0LL;
        QTest::newRow("NaN twice") << QList<double>{notANumber, notANumber} << 2LL;
    }

    void exponentialCacheCallsExpOnlyForANewArgument()
    {
        QFETCH(QList<double>, arguments);
        QFETCH(qlonglong, calls);
        BoundFormula formula("exp(a)");
        const auto *node = dynamic_cast<const zav::ExponentialOperation *>(&formula.tree());
        QVERIFY(node);
        for (double a : arguments) {
            formula.setValues(a);
            const double value = formula.evaluate();
            QVERIFY(value == std::exp(a) || (std::isnan(a) && std::isnan(value)));
        }
        QCOMPARE(node->expCalls(), calls);
        // A copy starts with an empty cache: a copied one would hit.
        const EquationPtr copy = formula.tree().clone();
        copy->evaluate();
        QCOMPARE(dynamic_cast<const zav::ExponentialOperation *>(copy.get())->expCalls(), arguments.last() == 0.0 ? 0LL : 1LL);
    }

    // The inverse logit keeps its last argument and result like exp: the value
    // must follow every change of the argument, NaN included.
    void invLogitCacheFollowsItsArgument()
    {
        BoundFormula formula("invLogit(a)");
        for (double a : {0.0, 0.0, 2.0, 2.0, -3.0, 0.0}) {
            formula.setValues(a);
            QCOMPARE(formula.evaluate(), std::exp(a) / (1 + std::exp(a)));
        }
        formula.setValues(notANumber);
        QVERIFY(std::isnan(formula.evaluate()));
        formula.setValues(1.0);
        QCOMPARE(formula.evaluate(), std::exp(1.0) / (1 + std::exp(1.0)));
    }
};

QTEST_GUILESS_MAIN(TestEquation)
#include "tst_equation.moc"
