#include "expr/UnaryOperation.h"

#include "expr/BinaryOperation.h"
#include "expr/Literal.h"

#include <cmath>

namespace zav {

QString UnaryOperation::toString() const
{
    return prefix() + m_operand->toString() + suffix();
}

bool UnaryOperation::dependsOn(const QString &name) const
{
    return m_operand->dependsOn(name);
}

void UnaryOperation::collectSymbols(QList<Symbol *> &symbols)
{
    m_operand->collectSymbols(symbols);
}

void UnaryOperation::collectTerms(QSet<QString> &terms) const
{
    terms.insert(toString());
}

bool UnaryOperation::isDifferentiable(const QString &name) const
{
    return m_operand->isDifferentiable(name);
}

// --- exp -------------------------------------------------------------------

std::unique_ptr<Equation> ExponentialOperation::clone() const
{
    return std::make_unique<ExponentialOperation>(m_operand->clone());
}

double CachedFunctionOperation::evaluate() const
{
    const double argument = m_operand->evaluate();
    if (argument == m_cachedArgument)
        return m_cachedResult;
    m_cachedArgument = argument;
    m_cachedResult = compute(argument);
    ++m_computations;
    return m_cachedResult;
}

double ExponentialOperation::compute(double argument) const
{
    return std::exp(argument);
}

double ExponentialOperation::derivativeValue(const QString &name) const
{
    return m_operand->derivativeValue(name) * evaluate();
}

// (copy of the node) * operand'
std::unique_ptr<Equation> ExponentialOperation::derivative(const QString &name) const
{
    return std::make_unique<MultiplyOperation>(clone(), m_operand->derivative(name));
}

// --- log -------------------------------------------------------------------

std::unique_ptr<Equation> LogOperation::clone() const
{
    return std::make_unique<LogOperation>(m_operand->clone());
}

double LogOperation::evaluate() const
{
    return std::log(m_operand->evaluate());
}

double LogOperation::derivativeValue(const QString &name) const
{
    return m_operand->derivativeValue(name) * (1.0 / m_operand->evaluate());
}

// (1 / operand) * operand'
std::unique_ptr<Equation> LogOperation::derivative(const QString &name) const
{
    return std::make_unique<MultiplyOperation>(
        std::make_unique<DivideOperation>(std::make_unique<Literal>(1.0), m_operand->clone()),
        m_operand->derivative(name));
}

// --- invLogit --------------------------------------------------------------

std::unique_ptr<Equation> InvLogitOperation::clone() const
{
    return std::make_unique<InvLogitOperation>(m_operand->clone());
}

double InvLogitOperation::compute(double argument) const
{
    const double e = std::exp(argument);
    return e / (1.0 + e);
}

// s (1 - s) f'
double InvLogitOperation::derivativeValue(const QString &name) const
{
    const double s = evaluate();
    return s * (1.0 - s) * m_operand->derivativeValue(name);
}

// (s * (1 - s)) * operand', s a copy of the node
std::unique_ptr<Equation> InvLogitOperation::derivative(const QString &name) const
{
    auto oneMinusS = std::make_unique<SubtractOperation>(std::make_unique<Literal>(1.0), clone());
    return std::make_unique<MultiplyOperation>(
        std::make_unique<MultiplyOperation>(clone(), std::move(oneMinusS)), m_operand->derivative(name));
}

// --- negate ----------------------------------------------------------------

std::unique_ptr<Equation> NegateOperation::clone() const
{
    return std::make_unique<NegateOperation>(m_operand->clone());
}

double NegateOperation::derivativeValue(const QString &name) const
{
    return -m_operand->derivativeValue(name);
}

std::unique_ptr<Equation> NegateOperation::derivative(const QString &name) const
{
    return std::make_unique<NegateOperation>(m_operand->derivative(name));
}

} // namespace zav
