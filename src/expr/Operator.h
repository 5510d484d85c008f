// An operator waiting on the parser's stack. Parentheses are not stacked:
// they raise the depth of the operators read inside them, and an operator at
// a greater depth always binds tighter.
#pragma once

#include "expr/Equation.h"
#include "expr/Token.h"

#include <memory>
#include <vector>

namespace zav {

using OperandStack = std::vector<EquationPtr>;

class Operator
{
public:
    Operator(const Token &token, int precedence, int depth)
        : m_token(token), m_precedence(precedence), m_depth(depth)
    {}
    virtual ~Operator() = default;

    const Token &token() const { return m_token; }
    int precedence() const { return m_precedence; }
    int depth() const { return m_depth; }

    // Number of operands apply() pops.
    virtual int arity() const = 0;
    // Pops the operands and returns the new node. The caller has checked
    // that the stack holds arity() operands.
    virtual EquationPtr apply(OperandStack &operands) const = 0;

    // The binary operator of "+", "-", "*", "/" or "^"; null for other text.
    static std::unique_ptr<Operator> binary(const Token &token, int depth);
    // The operator of "exp(", "log(" or "invLogit("; throws ParseError
    // "unrecognized function name" for any other text.
    static std::unique_ptr<Operator> function(const Token &token, int depth);
    // Unary minus, read where an operand is expected.
    static std::unique_ptr<Operator> negate(const Token &token, int depth);

private:
    Token m_token;
    int m_precedence;
    int m_depth;
};

} // namespace zav
