// Formula text to an unbound tree.
//
// Precedence, low to high: "+" "-" and unary minus; "*" "/"; "^"; function
// application. Every binary operator associates to the left ("^" too:
// 2^3^2 is 64); -a^2 is -(a^2); an operator inside parentheses binds
// tighter than any outside them.
#pragma once

#include "expr/Equation.h"
#include "expr/Token.h"

namespace zav {

class AbstractSymbolValidator;
class NameTable;

// Parses the tokens of all pieces, in order. A piece's text may hold several
// tokens (a whole formula, or the formula text of one file line); each keeps
// its piece's line. Returns a new tree owned by the caller, or throws
// ParseError with an empty file name. With a name table, every Symbol takes
// its name's string from it.
EquationPtr parse(const TokenList &pieces, const AbstractSymbolValidator &validator,
                  NameTable *names = nullptr);

// Convenience for one text that does not come from a file (line 0).
EquationPtr parse(const QString &text, const AbstractSymbolValidator &validator);

} // namespace zav
