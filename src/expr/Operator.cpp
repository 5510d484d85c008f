#include "expr/Operator.h"

#include "expr/BinaryOperation.h"
#include "expr/ParseError.h"
#include "expr/UnaryOperation.h"

namespace zav {

namespace {

// Precedences: "+" "-" and unary minus 1, "*" "/" 2, "^" 3, functions 4.
enum Precedence { Additive = 1, Multiplicative = 2, Power = 3, Function = 4 };

EquationPtr pop(OperandStack &operands)
{
    EquationPtr top = std::move(operands.back());
    operands.pop_back();
    return top;
}

template<typename Node>
class BinaryOperator : public Operator
{
public:
    using Operator::Operator;
    int arity() const override { return 2; }
    EquationPtr apply(OperandStack &operands) const override
    {
        EquationPtr right = pop(operands);
        EquationPtr left = pop(operands);
        return std::make_unique<Node>(std::move(left), std::move(right));
    }
};

template<typename Node>
class UnaryOperator : public Operator
{
public:
    using Operator::Operator;
    int arity() const override { return 1; }
    EquationPtr apply(OperandStack &operands) const override { return std::make_unique<Node>(pop(operands)); }
};

using AddOperator = BinaryOperator<AddOperation>;
using SubtractOperator = BinaryOperator<SubtractOperation>;
using MultiplyOperator = BinaryOperator<MultiplyOperation>;
using DivideOperator = BinaryOperator<DivideOperation>;
using PowerOperator = BinaryOperator<PowerOperation>;
using NegateOperator = UnaryOperator<NegateOperation>;
using ExponentialOperator = UnaryOperator<ExponentialOperation>;
using LogOperator = UnaryOperator<LogOperation>;
using InvLogitOperator = UnaryOperator<InvLogitOperation>;

} // namespace

std::unique_ptr<Operator> Operator::binary(const Token &token, int depth)
{
    const QString &t = token.text;
    if (t == u"+")
        return std::make_unique<AddOperator>(token, Additive, depth);
    if (t == u"-")
        return std::make_unique<SubtractOperator>(token, Additive, depth);
    if (t == u"*")
        return std::make_unique<MultiplyOperator>(token, Multiplicative, depth);
    if (t == u"/")
        return std::make_unique<DivideOperator>(token, Multiplicative, depth);
    if (t == u"^")
        return std::make_unique<PowerOperator>(token, Power, depth);
    return nullptr;
}

std::unique_ptr<Operator> Operator::function(const Token &token, int depth)
{
    const QString &t = token.text;
    if (t == u"exp(")
        return std::make_unique<ExponentialOperator>(token, Function, depth);
    if (t == u"log(")
        return std::make_unique<LogOperator>(token, Function, depth);
    if (t == u"invLogit(")
        return std::make_unique<InvLogitOperator>(token, Function, depth);
    throw ParseError(token, QStringLiteral("unrecognized function name"));
}

std::unique_ptr<Operator> Operator::negate(const Token &token, int depth)
{
    return std::make_unique<NegateOperator>(token, Additive, depth);
}

} // namespace zav
