// Fuzz target for the formula parser. Any text either parses or stops with
// a zav::ParseError (any other exception ends the run through
// std::terminate), without reading past the parser's stacks, leaking the
// nodes built before an error, or taking time beyond linear in the text.
// A formula that parses keeps its shape: written back with every operation
// in parentheses it parses to the same tree, and so does its clone; every
// symbol in it is a name the validator accepts.
#include "FormulaGrouping.h"

#include "expr/ParseError.h"
#include "expr/Parser.h"
#include "expr/Symbol.h"
#include "expr/SymbolValidator.h"

#include <cstdint>
#include <cstdio>

namespace {

[[noreturn]] void fail(const char *what, const QString &text, const QString &detail)
{
    std::fprintf(stderr, "Formula fuzz: %s\n--- text:\n%s\n--- %s\n", what, qPrintable(text),
                 qPrintable(detail));
    __builtin_trap();
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
    return 0;
}
