#include "expr/Operator.h"

#include "expr/BinaryOperation.h"
#include "expr/ParseError.h"
#include "expr/UnaryOperation.h"

namespace zav {

namespace {

enum Precedence { Additive = 1, Multiplicative = 2, Power = 3, Function = 4 };

EquationPtr pop(OperandStack &operands)
{
    EquationPtr top = std::move(operands.back());
    operands.pop_back();
    return top;
}

template<typename Node>
EquationPtr applyBinary(OperandStack &operands)
{
    EquationPtr right = pop(operands);
    EquationPtr left = pop(operands);
    return std::make_unique<Node>(std::move(left), std::move(right));
}

template<typename Node>
EquationPtr applyUnary(OperandStack &operands)
{
    return std::make_unique<Node>(pop(operands));
}

} // namespace

int Operator::precedence() const
{
    switch (m_kind) {
    case Kind::Add:
    case Kind::Subtract:
    case Kind::Negate:
        return Additive;
    case Kind::Multiply:
    case Kind::Divide:
        return Multiplicative;
    case Kind::Power:
        return Power;
    case Kind::Exponential:
    case Kind::Log:
    case Kind::InvLogit:
        break;
    }
    return Function;
}

int Operator::arity() const
{
    switch (m_kind) {
    case Kind::Negate:
    case Kind::Exponential:
    case Kind::Log:
    case Kind::InvLogit:
        return 1;
    default:
        return 2;
    }
}

EquationPtr Operator::apply(OperandStack &operands) const
{
    switch (m_kind) {
    case Kind::Add:
        return applyBinary<AddOperation>(operands);
    case Kind::Subtract:
        return applyBinary<SubtractOperation>(operands);
    case Kind::Multiply:
        return applyBinary<MultiplyOperation>(operands);
    case Kind::Divide:
        return applyBinary<DivideOperation>(operands);
    case Kind::Power:
        return applyBinary<PowerOperation>(operands);
    case Kind::Negate:
        return applyUnary<NegateOperation>(operands);
    case Kind::Exponential:
        return applyUnary<ExponentialOperation>(operands);
    case Kind::Log:
        return applyUnary<LogOperation>(operands);
    case Kind::InvLogit:
        break;
    }
    return applyUnary<InvLogitOperation>(operands);
}

std::optional<Operator> Operator::binary(const TokenView &token, int depth)
{
    if (token.text.size() != 1)
        return std::nullopt;
    switch (token.text.front().unicode()) {
    case u'+':
        return Operator(Kind::Add, token, depth);
    case u'-':
        return Operator(Kind::Subtract, token, depth);
    case u'*':
        return Operator(Kind::Multiply, token, depth);
    case u'/':
        return Operator(Kind::Divide, token, depth);
    case u'^':
        return Operator(Kind::Power, token, depth);
    default:
        return std::nullopt;
    }
}

Operator Operator::function(const TokenView &token, int depth)
{
    const QStringView t = token.text;
    if (t == u"exp(")
        return Operator(Kind::Exponential, token, depth);
    if (t == u"log(")
        return Operator(Kind::Log, token, depth);
    if (t == u"invLogit(")
        return Operator(Kind::InvLogit, token, depth);
    throw ParseError(token.toToken(), QStringLiteral("unrecognized function name"));
}

Operator Operator::negate(const TokenView &token, int depth)
{
    return Operator(Kind::Negate, token, depth);
}

} // namespace zav
