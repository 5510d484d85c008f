// Formula text: tokenizer, parser precedence and grouping, error messages
// with the offending token, symbol names, and very long or deep input.
#include "BoundFormula.h"

#include "expr/BinaryOperation.h"
#include "expr/Literal.h"
#include "expr/NameTable.h"
#include "expr/Operator.h"
#include "expr/ParseError.h"
#include "expr/Parser.h"
#include "expr/Symbol.h"
#include "expr/SymbolValidator.h"
#include "expr/Tokenizer.h"
#include "expr/UnaryOperation.h"

#include <QTest>

#include <cmath>
#include <optional>
#include <random>

using zav::EquationPtr;

namespace {

// The tree written back with every operation in parentheses, read from the
// node classes rather than from toString, which drops the grouping.
QString grouping(const zav::Equation &node)
{
    if (const auto *binary = dynamic_cast<const zav::BinaryOperation *>(&node)) {
        const char *sign = dynamic_cast<const zav::AddOperation *>(binary)        ? "+"
                           : dynamic_cast<const zav::SubtractOperation *>(binary) ? "-"
                           : dynamic_cast<const zav::MultiplyOperation *>(binary) ? "*"
                           : dynamic_cast<const zav::DivideOperation *>(binary)   ? "/"
                           : dynamic_cast<const zav::PowerOperation *>(binary)    ? "^"
                                                                                  : "?";
        return QStringLiteral("(%1%2%3)")
            .arg(grouping(*binary->left()), QLatin1String(sign), grouping(*binary->right()));
    }
    if (const auto *unary = dynamic_cast<const zav::UnaryOperation *>(&node)) {
        const char *function = dynamic_cast<const zav::ExponentialOperation *>(unary) ? "exp"
                               : dynamic_cast<const zav::LogOperation *>(unary)       ? "log"
                               : dynamic_cast<const zav::InvLogitOperation *>(unary)  ? "invLogit"
                               : dynamic_cast<const zav::NegateOperation *>(unary)    ? ""
                                                                                      : "?";
        const QString operand = grouping(*unary->operand());
        return *function ? QStringLiteral("%1(%2)").arg(QLatin1String(function), operand)
                         : QStringLiteral("(-%1)").arg(operand);
    }
    return node.toString();
}

zav::TokenList formulaTokens(const QString &text, int line = 0)
{
    return zav::Tokenizer(zav::Tokenizer::formulaDelimiters(), zav::Tokenizer::blanks())
        .tokenize(text, line);
}

// The error parsing throws, or nothing when the text parses.
std::optional<zav::ParseError> parseError(const zav::TokenList &pieces)
{
    try {
        zav::parse(pieces, pelk::SymbolValidator());
    } catch (const zav::ParseError &error) {
        return error;
    }
    return std::nullopt;
}

std::optional<zav::ParseError> parseError(const QString &text)
{
    return parseError(zav::TokenList{zav::Token(text, 0, 1)});
}

class AcceptEveryName : public zav::AbstractSymbolValidator
{
public:
    bool isValid(QStringView) const override { return true; }
};

// The splitting rule as stated: cut at the first occurrence of the first
// delimiter (longest first, then in the given order) found anywhere in the
// text, and split the parts on each side the same way; "kept" delimiters
// become tokens. Tokens are "text@column".
QStringList splitByRule(const QString &text, int column, QList<QPair<QString, bool>> delimiters)
{
    std::stable_sort(delimiters.begin(), delimiters.end(),
                     [](const auto &a, const auto &b) { return a.first.size() > b.first.size(); });
    for (const auto &[delimiter, kept] : delimiters) {
        const qsizetype at = text.indexOf(delimiter);
        if (at < 0)
            continue;
        QStringList tokens = splitByRule(text.left(at), column, delimiters);
        if (kept)
            tokens << QStringLiteral("%1@%2").arg(delimiter).arg(column + at);
        return tokens + splitByRule(text.mid(at + delimiter.size()), column + int(at + delimiter.size()), delimiters);
    }
    return text.isEmpty() ? QStringList() : QStringList{QStringLiteral("%1@%2").arg(text).arg(column)};
}

} // namespace

class TestParser : public QObject
{
    Q_OBJECT

private slots:
    void parsesWithPrecedenceAndLeftAssociation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("grouping");
        QTest::addColumn<double>("value");  // at a = 2, b = 3, c = 5, x = 7
        QTest::addColumn<QString>("printed");
        const double e = std::exp(1.0);
        QTest::newRow("* before +") << "a+b*c" << "(a+(b*c))" << 17.0 << "a+b*c";
        QTest::newRow("parentheses first") << "(a+b)*c" << "((a+b)*c)" << 25.0 << "a+b*c";
        QTest::newRow("- associates left") << "a-b-c" << "((a-b)-c)" << -6.0 << "a-b-c";
        QTest::newRow("- grouped right") << "a-(b-c)" << "(a-(b-c))" << 4.0 << "a-b-c";
        QTest::newRow("/ associates left") << "a/b/c" << "((a/b)/c)" << 2.0 / 15.0 << "a/b/c";
        QTest::newRow("^ associates left") << "2^3^2" << "((2^3)^2)" << 64.0 << "2^3^2";
        QTest::newRow("^ before *") << "a^b*c" << "((a^b)*c)" << 40.0 << "a^b*c";
        QTest::newRow("* after ^") << "c*a^b" << "(c*(a^b))" << 40.0 << "c*a^b";
        QTest::newRow("-a^2") << "-a^2" << "(-(a^2))" << -4.0 << "-a^2";
        QTest::newRow("-a*b") << "-a*b" << "(-(a*b))" << -6.0 << "-a*b";
        QTest::newRow("-a+b") << "-a+b" << "((-a)+b)" << 1.0 << "-a+b";
        QTest::newRow("(-a)^2") << "(-a)^2" << "((-a)^2)" << 4.0 << "-a^2";
        QTest::newRow("a*(-b)") << "a*(-b)" << "(a*(-b))" << -6.0 << "a*-b";
        QTest::newRow("-(-a)") << "-(-a)" << "(-(-a))" << 2.0 << "--a";
        QTest::newRow("-(x)") << "-(x)" << "(-x)" << -7.0 << "-x";
        QTest::newRow("exp(a)*b") << "exp(a)*b" << "(exp(a)*b)" << e * e * 3.0 << "exp(a)*b";
        QTest::newRow("exp(a*b)") << "exp(a*b)" << "exp((a*b))" << std::exp(6.0) << "exp(a*b)";
        QTest::newRow("exp(a)^2") << "exp(a)^2" << "(exp(a)^2)" << std::exp(4.0) << "exp(a)^2";
        QTest::newRow("a*exp(b)^c") << "a*exp(b)^c" << "(a*(exp(b)^c))" << 2.0 * std::exp(15.0)
                                    << "a*exp(b)^c";
        QTest::newRow("nested functions") << "log(invLogit(-a)*c)" << "log((invLogit((-a))*c))"
                                          << std::log(5.0 / (1.0 + e * e)) << "log(invLogit(-a)*c)";
        QTest::newRow("mixed chain") << "a+b*c^x/a-b" << "((a+((b*(c^x))/a))-b)" << 117186.5
                                     << "a+b*c^x/a-b";
        QTest::newRow("redundant parentheses") << "((a+b))*(c)" << "((a+b)*c)" << 25.0 << "a+b*c";
        QTest::newRow("blanks, tabs, newlines") << " a\t+\nb *c " << "(a+(b*c))" << 17.0 << "a+b*c";
        QTest::newRow("number forms") << ".5*2.5E3/1e5" << "((0.5*2500)/100000)" << 0.0125
                                      << "0.5*2500/100000";
        QTest::newRow("literal") << "2" << "2" << 2.0 << "2";
    }

    void parsesWithPrecedenceAndLeftAssociation()
    {
        QFETCH(QString, text);
        QFETCH(QString, grouping);
        QFETCH(double, value);
        QFETCH(QString, printed);
        BoundFormula formula(text);
        formula.setValues(2.0, 3.0, 5.0, 7.0);
        QCOMPARE(::grouping(formula.tree()), grouping);
        QCOMPARE(formula.evaluate(), value);
        QCOMPARE(formula.tree().toString(), printed);
    }

    void rejectsMalformedFormula_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("column");
        QTest::newRow("lone (") << "(" << "\"(\" - unbalanced Parentheses" << 1;
        QTest::newRow("a)") << "a)" << "\")\" - illegal syntax" << 2;
        QTest::newRow("a+b)") << "a+b)" << "\")\" - illegal syntax" << 4;
        QTest::newRow("exp(a") << "exp(a" << "\"a\" - unbalanced Parentheses" << 5;
        QTest::newRow("((a)") << "((a)" << "\")\" - unbalanced Parentheses" << 4;
        QTest::newRow("open after operator") << "a+(" << "\"(\" - unbalanced Parentheses" << 3;
        QTest::newRow("two names") << "a b" << "\"b\" - illegal syntax" << 3;
        QTest::newRow("(a)(b)") << "(a)(b)" << "\"(\" - illegal syntax" << 4;
        QTest::newRow("a exp(b)") << "a exp(b)" << "\"exp(\" - illegal syntax" << 3;
        QTest::newRow("myexp(x)") << "myexp(x)" << "\"exp(\" - illegal syntax" << 3;
        QTest::newRow("log(a)b") << "log(a)b" << "\"b\" - illegal syntax" << 7;
        QTest::newRow("number with blank") << "1 000" << "\"000\" - illegal syntax" << 3;
        QTest::newRow("name with blank") << "al pha" << "\"pha\" - illegal syntax" << 4;
        QTest::newRow("2a") << "2a" << "\"2a\" - Invalid symbol name" << 1;
        QTest::newRow("_x") << "_x" << "\"_x\" - Invalid symbol name" << 1;
        QTest::newRow(") as operand") << ")" << "\")\" - Invalid symbol name" << 1;
        QTest::newRow("empty parentheses") << "a*()" << "\")\" - Invalid symbol name" << 4;
        QTest::newRow("empty argument") << "exp()" << "\")\" - Invalid symbol name" << 5;
        QTest::newRow("signed exponent") << "1e-5" << "\"1e\" - Invalid symbol name" << 1;
        QTest::newRow("overflowing number") << "2*1e999" << "\"1e999\" - Invalid symbol name" << 3;
        QTest::newRow("a**2") << "a**2" << "\"*\" - Invalid symbol name" << 3;
        QTest::newRow("unary plus") << "+a" << "\"+\" - Invalid symbol name" << 1;
        QTest::newRow("percent sign in token") << "50%1" << "\"50%1\" - Invalid symbol name" << 1;
        QTest::newRow("dollar name split") << "$a+b$" << "\"$a\" - Invalid symbol name" << 1;
        QTest::newRow("ends after +") << "a+" << "\"+\" - illegal syntax" << 2;
        QTest::newRow("lone -") << "-" << "\"-\" - illegal syntax" << 1;
        QTest::newRow("ends after function") << "exp(a)*" << "\"*\" - illegal syntax" << 7;
        QTest::newRow("a*-b") << "a*-b" << "\"-\" - illegal syntax" << 3;
        QTest::newRow("a+-b") << "a+-b" << "\"-\" - illegal syntax" << 3;
        QTest::newRow("a^-2") << "a^-2" << "\"-\" - illegal syntax" << 3;
        QTest::newRow("--a") << "--a" << "\"-\" - illegal syntax" << 2;
        QTest::newRow("empty") << "" << "\"\" - illegal syntax" << 0;
        QTest::newRow("blank") << " \t\n " << "\"\" - illegal syntax" << 0;
    }

    void rejectsMalformedFormula()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(int, column);
        const auto error = parseError(text);
        QVERIFY(error);
        QCOMPARE(error->message(), message);
        QCOMPARE(error->token().column, column);
        QCOMPARE(error->token().line, 0);
        QVERIFY(error->fileName().isEmpty());
        QCOMPARE(error->description(), message);
    }

    // The file reader hands the parser one piece per line of formula text.
    void blamesTheTokenOfItsOwnPiece()
    {
        const zav::TokenList good{zav::Token("a +", 3, 1), zav::Token("\tb*c", 4, 1)};
        BoundFormula values("0");
        values.setValues(2.0, 3.0, 5.0);
        const EquationPtr tree = zav::parse(good, pelk::SymbolValidator());
        values.bind(*tree);
        QCOMPARE(tree->evaluate(), 17.0);

        const zav::TokenList bad{zav::Token("a+b", 3, 1), zav::Token("*", 4, 1), zav::Token("c d", 5, 1)};
        const auto error = parseError(bad);
        QVERIFY(error);
        QCOMPARE(error->message(), QStringLiteral("\"d\" - illegal syntax"));
        QCOMPARE(error->token().line, 5);
        QCOMPARE(error->token().column, 3);
        QVERIFY(error->fileName().isEmpty());
    }

    void describesErrorWithLineAndFile()
    {
        zav::ParseError error(zav::Token("2a", 12, 5), "Invalid symbol name");
        QCOMPARE(error.message(), QStringLiteral("\"2a\" - Invalid symbol name"));
        QCOMPARE(error.description(), QStringLiteral("\"2a\" - Invalid symbol name, line 12"));
        error.setFileName("model.txt");
        QCOMPARE(error.description(),
                 QStringLiteral("\"2a\" - Invalid symbol name, line 12, file \"model.txt\""));

        zav::ParseError noLine(zav::Token::empty(), "illegal syntax");
        noLine.setFileName("m.txt");
        QCOMPARE(noLine.description(), QStringLiteral("\"\" - illegal syntax, file \"m.txt\""));
    }

    // Every Symbol of a name takes the one string the table made for it,
    // in every formula parsed with the table, and reads as the name.
    void symbolsOfOneNameShareTheTablesString()
    {
        zav::NameTable names;
        const pelk::SymbolValidator validator;
        const EquationPtr first = zav::parse(zav::TokenList{zav::Token("ab*c+ab", 1, 1)}, validator, &names);
        const EquationPtr second = zav::parse(zav::TokenList{zav::Token("c/ab", 2, 1)}, validator, &names);
        QList<zav::Symbol *> symbols;
        first->collectSymbols(symbols);
        second->collectSymbols(symbols);
        QStringList read;
        for (const zav::Symbol *symbol : std::as_const(symbols))
            read << symbol->name();
        QCOMPARE(read, QStringList({"ab", "c", "ab", "c", "ab"}));
        QCOMPARE(symbols[2]->name().constData(), symbols[0]->name().constData());
        QCOMPARE(symbols[4]->name().constData(), symbols[0]->name().constData());
        QCOMPARE(symbols[3]->name().constData(), symbols[1]->name().constData());
    }

    void refusesUnknownFunctionName()
    {
        QCOMPARE(zav::Operator::function(zav::Token("log(", 0, 1), 0).arity(), 1);
        try {
            zav::Operator::function(zav::Token("sin(", 2, 7), 0);
            QFAIL("made an operator");
        } catch (const zav::ParseError &error) {
            QCOMPARE(error.message(), QStringLiteral("\"sin(\" - unrecognized function name"));
            QCOMPARE(error.token().column, 7);
        }
    }

    void validatesSymbolNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("Beta_2") << "Beta_2" << true;
        QTest::newRow("one letter") << "a" << true;
        QTest::newRow("trailing underscore") << "x_" << true;
        QTest::newRow("upper case") << "Z9" << true;
        QTest::newRow("inf") << "inf" << true;
        QTest::newRow("$weird.name$") << "$weird.name$" << true;
        QTest::newRow("lone $") << "$" << true;
        QTest::newRow("$$") << "$$" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("2beta") << "2beta" << false;
        QTest::newRow("_x") << "_x" << false;
        QTest::newRow("dot") << "a.b" << false;
        QTest::newRow("opening $ only") << "$abc" << false;
        QTest::newRow("closing $ only") << "abc$" << false;
        QTest::newRow("non-ASCII letter") << QString::fromUtf8("\xc3\xa9t\xc3\xa9") << false;
        QTest::newRow("trailing newline") << "a\n" << false;
        QTest::newRow("number") << "1e5" << false;
    }

    void validatesSymbolNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        QCOMPARE(pelk::SymbolValidator().isValid(name), valid);
    }

    // With a validator that accepts every word, whatever converts to a finite
    // number is still a literal; "inf" and "nan" are names.
    void triesNumbersBeforeNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("literal");
        QTest::addColumn<double>("value");
        QTest::newRow("2") << "2" << true << 2.0;
        QTest::newRow("leading zeros") << "007" << true << 7.0;
        QTest::newRow("15 digits") << "123456789012345" << true << 123456789012345.0;
        QTest::newRow("17 digits, rounded") << "12345678901234567" << true << 12345678901234568.0;
        QTest::newRow("0.5") << "0.5" << true << 0.5;
        QTest::newRow(".5") << ".5" << true << 0.5;
        QTest::newRow("1e5") << "1e5" << true << 1e5;
        QTest::newRow("2.5E3") << "2.5E3" << true << 2500.0;
        QTest::newRow("inf") << "inf" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
        QTest::newRow("1e999") << "1e999" << false << 0.0;
        QTest::newRow("1e") << "1e" << false << 0.0;
        QTest::newRow("hex") << "0x10" << false << 0.0;
        QTest::newRow("decimal comma") << "1,5" << false << 0.0;
    }

    void triesNumbersBeforeNames()
    {
        QFETCH(QString, text);
        QFETCH(bool, literal);
        QFETCH(double, value);
        const EquationPtr tree = zav::parse(text, AcceptEveryName());
        if (literal) {
            const auto *node = dynamic_cast<const zav::Literal *>(tree.get());
            QVERIFY(node);
            QCOMPARE(node->value(), value);
        } else {
            const auto *node = dynamic_cast<const zav::Symbol *>(tree.get());
            QVERIFY(node);
            QCOMPARE(node->name(), text);
        }
    }

    void splitsTextIntoTokens_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("tokens");
        QTest::addColumn<QList<int>>("columns");
        QTest::newRow("myexp(x)") << "myexp(x)" << QStringList{"my", "exp(", "x", ")"}
                                  << QList<int>{1, 3, 7, 8};
        QTest::newRow("1e-5") << "1e-5" << QStringList{"1e", "-", "5"} << QList<int>{1, 3, 4};
        QTest::newRow("blanks dropped") << "a * (b+c)" << QStringList{"a", "*", "(", "b", "+", "c", ")"}
                                        << QList<int>{1, 3, 5, 6, 7, 8, 9};
        QTest::newRow("tab and newline") << " \ta\n" << QStringList{"a"} << QList<int>{3};
        QTest::newRow("invLogit(") << "invLogit(a)" << QStringList{"invLogit(", "a", ")"}
                                   << QList<int>{1, 10, 11};
        QTest::newRow("nested functions") << "log(exp(a))" << QStringList{"log(", "exp(", "a", ")", ")"}
                                          << QList<int>{1, 5, 9, 10, 11};
        QTest::newRow("exp without (") << "explog(" << QStringList{"exp", "log("} << QList<int>{1, 4};
        QTest::newRow("operators in a row") << "a^-2/b" << QStringList{"a", "^", "-", "2", "/", "b"}
                                            << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("dollar name") << "$weird.name$" << QStringList{"$weird.name$"} << QList<int>{1};
        QTest::newRow("empty") << "" << QStringList{} << QList<int>{};
        QTest::newRow("blank") << "   " << QStringList{} << QList<int>{};
    }

    void splitsTextIntoTokens()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, tokens);
        QFETCH(QList<int>, columns);
        QStringList texts;
        QList<int> starts;
        for (const zav::Token &token : formulaTokens(text)) {
            texts << token.text;
            starts << token.column;
        }
        QCOMPARE(texts, tokens);
        QCOMPARE(starts, columns);
    }

    // Random texts made of delimiters, their fragments and names, split by
    // the formula and file delimiter sets (which the splitter scans in one
    // pass) and by a set whose delimiters overlap ("bc" before "ab": in
    // "abc" the rule cuts at "bc").
    void splitsRandomTextsByTheRule_data()
    {
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QStringList>("dropped");
        QTest::newRow("formula") << zav::Tokenizer::formulaDelimiters() << zav::Tokenizer::blanks();
        QTest::newRow("file") << QStringList{"=", ",", ";", "\"", ":"} << QStringList{"\t", "\n", " "};
        QTest::newRow("overlapping") << QStringList{"bc", "ab", "c"} << QStringList{" "};
    }

    void splitsRandomTextsByTheRule()
    {
        QFETCH(QStringList, kept);
        QFETCH(QStringList, dropped);
        const zav::Tokenizer tokenizer(kept, dropped);
        QList<QPair<QString, bool>> delimiters;
        for (const QString &d : kept + dropped)
            delimiters.append({d, kept.contains(d)});
        const QStringList pieces{"exp(", "log(", "invLogit(", "ex", "p(", "lo", "*", "(", ")", "-", " ", "a",
                                 "b1", "=", ",", ":", "\"", "ab", "bc", "c", "\t", QString::fromUtf8("\xc3\xa9")};
        std::mt19937 random(3);
        for (int trial = 0; trial < 2000; ++trial) {
            QString text;
            for (int i = int(random() % 12); i >= 0; --i)
                text += pieces.at(int(random() % pieces.size()));
            QStringList tokens;
            for (const zav::Token &token : tokenizer.tokenize(text, 1))
                tokens << QStringLiteral("%1@%2").arg(token.text).arg(token.column);
            QCOMPARE(tokens, splitByRule(text, 1, delimiters));
        }
    }

    void marksFirstAndLastTokenAndCarriesLine()
    {
        const zav::TokenList tokens = formulaTokens("a+b*c", 9);
        QCOMPARE(tokens.size(), 5);
        for (int i = 0; i < tokens.size(); ++i) {
            QCOMPARE(tokens[i].line, 9);
            QCOMPARE(tokens[i].firstOnLine, i == 0);
            QCOMPARE(tokens[i].lastOnLine, i == 4);
            QVERIFY(!tokens[i].endOfInput);
        }
        const zav::TokenList one = formulaTokens(" a ");
        QCOMPARE(one.size(), 1);
        QVERIFY(one[0].firstOnLine && one[0].lastOnLine);
    }

    void cutsTextAtTheFirstCommentMarker()
    {
        const zav::Tokenizer tokenizer({","}, {" "}, "//");
        const zav::TokenList tokens = tokenizer.tokenize("p1, 0.5 // seed, // again", 2);
        QCOMPARE(tokens.size(), 3);
        QCOMPARE(tokens[0].text, QStringLiteral("p1"));
        QCOMPARE(tokens[1].text, QStringLiteral(","));
        QCOMPARE(tokens[2].text, QStringLiteral("0.5"));
        QCOMPARE(tokens[2].column, 5);
        QVERIFY(tokens[2].lastOnLine);
        QVERIFY(tokenizer.tokenize("// only a comment", 3).isEmpty());
    }

    // A sum of n terms is a chain n levels deep, and every walk of a tree
    // recurses once per level; the parser refuses trees deeper than 10 000
    // levels so that no walk can exhaust the stack. At the limit the tree is
    // whole: it binds, evaluates, differentiates and prints.
    void refusesFormulasNestedTooDeeply()
    {
        const auto sumOf = [](int terms) {
            QString text = QStringLiteral("a");
            text.reserve(2 * terms);
            for (int i = 1; i < terms; ++i)
                text += QStringLiteral("+a");
            return text;
        };

        BoundFormula deepest(sumOf(10000));
        deepest.setValues(0.25);
        QCOMPARE(deepest.evaluate(), 2500.0);
        QCOMPARE(deepest.tree().derivativeValue("a"), 10000.0);
        QCOMPARE(deepest.tree().toString().size(), 2 * 10000 - 1);
        QCOMPARE(deepest.tree().clone()->evaluate(), 2500.0);

        const auto tooDeep = parseError(sumOf(10001));
        QVERIFY(tooDeep);
        // The last sum is built after the last token has been read.
        QCOMPARE(tooDeep->message(), QStringLiteral("\"a\" - formula nested too deeply"));
        QCOMPARE(tooDeep->token().column, 2 * 10001 - 1);

        // Long input is refused in time linear in its length, whatever its shape.
        const int terms = 200000;
        const QString longSum = sumOf(terms);
        QCOMPARE(formulaTokens(longSum).size(), 2 * terms - 1);
        QVERIFY(parseError(longSum));
        QVERIFY(parseError(longSum + ")"));
        const auto negations = parseError(QString(terms, u'-') + "a");
        QVERIFY(negations);
        QCOMPARE(negations->message(), QStringLiteral("\"-\" - illegal syntax"));
        QString powers;
        for (int i = 0; i < terms; ++i)
            powers += QStringLiteral("a^(");
        powers += QStringLiteral("a") + QString(terms, u')');
        const auto tower = parseError(powers);
        QVERIFY(tower);
        QCOMPARE(tower->message(), QStringLiteral("\")\" - formula nested too deeply"));
    }

    // Parentheses raise the depth of the operators inside them; they make no
    // nodes, so the tree of ((((a)))) is one symbol however deep.
    void parsesTenThousandNestedParentheses()
    {
        const int depth = 10000;
        const QString text = QString(depth, u'(') + QStringLiteral("a*b") + QString(depth, u')') + "+c";
        BoundFormula formula(text);
        formula.setValues(2.0, 3.0, 5.0);
        QCOMPARE(grouping(formula.tree()), QStringLiteral("((a*b)+c)"));
        QCOMPARE(formula.evaluate(), 11.0);

        const auto error = parseError(QString(depth, u'(') + "a");
        QVERIFY(error);
        QCOMPARE(error->message(), QStringLiteral("\"a\" - unbalanced Parentheses"));
        QCOMPARE(error->token().column, depth + 1);
    }
};

QTEST_GUILESS_MAIN(TestParser)
#include "tst_parser.moc"
