// Fuzz target for the formula parser. Any text either parses or stops with
// a zav::ParseError (any other exception ends the run through
// std::terminate), without reading past the parser's stacks, leaking the
// nodes built before an error, or taking time beyond linear in the text.
// A formula that parses keeps its shape: written back with every operation
// in parentheses it parses to the same tree, and so does its clone; every
// symbol in it is a name the validator accepts. With every name bound to
// one of three parameters, the compiled program gives the tree's value bit
// for bit (NaN for NaN) at a few points.
#include "FormulaGrouping.h"

#include "expr/ParseError.h"
#include "expr/Parser.h"
#include "expr/Symbol.h"
#include "expr/SymbolValidator.h"
#include "likelihood/FormulaCompiler.h"
#include "model/Parameter.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

[[noreturn]] void fail(const char *what, const QString &text, const QString &detail)
{
    std::fprintf(stderr, "Formula fuzz: %s\n--- text:\n%s\n--- %s\n", what, qPrintable(text),
                 qPrintable(detail));
    __builtin_trap();
}

bool sameValue(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

// Binds each symbol to parameter a, b or c by the length of its name and
// compares the compiled program with the tree.
void compareCompiled(zav::Equation &tree, const QList<zav::Symbol *> &symbols, const QString &text)
{
    pelk::Parameter parameters[3] = {{QStringLiteral("a"), 0}, {QStringLiteral("b"), 1}, {QStringLiteral("c"), 2}};
    for (zav::Symbol *symbol : symbols)
        symbol->setBinding(&parameters[symbol->name().size() % 3]);
    pelk::FormulaCompiler compiler(3);
    compiler.addOutput(&tree);
    const pelk::FormulaProgram program = compiler.program();
    std::vector<double> values = program.initialSlots();
    const std::vector<std::vector<double>> points{{0.5, 2.0, -1.5}, {0.0, 1.0, 1e300}, {-3.0, 0.25, 7.0}};
    for (const std::vector<double> &x : points) {
        for (pelk::Parameter &parameter : parameters)
            parameter.setValues(&x);
        program.evaluate(x.data(), values.data());
        const double compiled = values[std::size_t(program.outputSlot(0))];
        const double value = tree.evaluate();
        if (!sameValue(compiled, value))
            fail("the compiled program differs from the tree", text,
                 QStringLiteral("%1 vs %2").arg(compiled, 0, 'g', 17).arg(value, 0, 'g', 17));
    }
    for (zav::Symbol *symbol : symbols)
        symbol->setBinding(nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const pelk::SymbolValidator validator;
    zav::EquationPtr tree;
    try {
        tree = zav::parse(text, validator);
    } catch (const zav::ParseError &) {
        return 0;
    }
    if (!tree)
        fail("parse returned no tree and threw nothing", text, QString());

    const QString grouped = pelkfuzz::groupedText(*tree);
    try {
        const QString again = pelkfuzz::groupedText(*zav::parse(grouped, validator));
        if (again != grouped)
            fail("the grouped text parses to another tree", grouped, again);
    } catch (const zav::ParseError &e) {
        fail("the grouped text does not parse", grouped, e.description());
    }

    const QString cloned = pelkfuzz::groupedText(*tree->clone());
    if (cloned != grouped)
        fail("the clone differs", grouped, cloned);

    QList<zav::Symbol *> symbols;
    tree->collectSymbols(symbols);
    for (const zav::Symbol *symbol : std::as_const(symbols))
        if (!validator.isValid(symbol->name()))
            fail("a symbol has a name the validator refuses", text, symbol->name());
    compareCompiled(*tree, symbols, text);
    return 0;
}
