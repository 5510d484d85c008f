// An operator waiting on the parser's stack. Parentheses are not stacked:
// they raise the depth of the operators read inside them, and an operator at
// a greater depth always binds tighter.
//
// A small value: the parser stacks one per operator of every formula it
// reads, so it holds a view of its token rather than a copy.
#pragma once

#include "expr/Equation.h"
#include "expr/Token.h"

#include <optional>
#include <vector>

namespace zav {

using OperandStack = std::vector<EquationPtr>;

class Operator
{
public:
    const TokenView &token() const { return m_token; }
    // "+" "-" and unary minus 1, "*" "/" 2, "^" 3, functions 4.
    int precedence() const;
    int depth() const { return m_depth; }

    // Number of operands apply() pops: 2 for the binary operators, 1 for
    // unary minus and the functions.
    int arity() const;
    // Pops the operands and returns the new node. The caller has checked
    // that the stack holds arity() operands.
    EquationPtr apply(OperandStack &operands) const;

    // The binary operator of "+", "-", "*", "/" or "^"; nothing for other text.
    static std::optional<Operator> binary(const TokenView &token, int depth);
    // The operator of "exp(", "log(" or "invLogit("; throws ParseError
    // "unrecognized function name" for any other text.
    static Operator function(const TokenView &token, int depth);
    // Unary minus, read where an operand is expected.
    static Operator negate(const TokenView &token, int depth);

private:
    enum class Kind { Add, Subtract, Multiply, Divide, Power, Negate, Exponential, Log, InvLogit };

    Operator(Kind kind, const TokenView &token, int depth) : m_kind(kind), m_token(token), m_depth(depth) {}

    Kind m_kind;
    TokenView m_token;
    int m_depth;
};

} // namespace zav
