// The functions exp, log and invLogit, and unary minus. A unary node owns
// its operand.
#pragma once

#include "expr/Equation.h"

namespace zav {

class UnaryOperation : public Equation
{
public:
    explicit UnaryOperation(EquationPtr operand) : m_operand(std::move(operand)) {}

    const Equation *operand() const { return m_operand.get(); }

    QString toString() const override;
    bool dependsOn(const QString &name) const override;
    void collectSymbols(QList<Symbol *> &symbols) override;
    // Not a product of parameters: the whole node is one term.
    void collectTerms(QSet<QString> &terms) const override;
    bool isDifferentiable(const QString &name) const override;

protected:
    // Written before the operand text: "exp(", "log(", "invLogit(" or "-".
    virtual QString prefix() const = 0;
    // Written after the operand text: ")" for the functions.
    virtual QString suffix() const { return QString(); }

    EquationPtr m_operand;
};

// exp with a one-entry cache: while only some parameters move, many exp
// nodes see the same argument as on the previous evaluation.
class ExponentialOperation : public UnaryOperation
{
public:
    using UnaryOperation::UnaryOperation;
    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override;
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

    // Number of times exp was really called, for tests of the cache.
    long long expCalls() const { return m_expCalls; }

protected:
    QString prefix() const override { return QStringLiteral("exp("); }
    QString suffix() const override { return QStringLiteral(")"); }

private:
    // exp(0) = 1, so a fresh node needs no call for a first argument of 0.
    mutable double m_cachedArgument = 0.0;
    mutable double m_cachedResult = 1.0;
    mutable long long m_expCalls = 0;
};

class LogOperation : public UnaryOperation
{
public:
    using UnaryOperation::UnaryOperation;
    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override;
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

protected:
    QString prefix() const override { return QStringLiteral("log("); }
    QString suffix() const override { return QStringLiteral(")"); }
};

// e / (1 + e) with e = exp(operand). Overflows to NaN for large operands,
// as documented; the objective treats that point as unusable. Like exp it
// keeps its last argument and result: a capture probability written once as
// a convenience function p = invLogit(a) is read by every category, and
// only the first read after a change of a needs the exponential.
class InvLogitOperation : public UnaryOperation
{
public:
    using UnaryOperation::UnaryOperation;
    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override;
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

protected:
    QString prefix() const override { return QStringLiteral("invLogit("); }
    QString suffix() const override { return QStringLiteral(")"); }

private:
    // invLogit(0) = 1/2 exactly, so a fresh node needs no call for 0.
    mutable double m_cachedArgument = 0.0;
    mutable double m_cachedResult = 0.5;
};

class NegateOperation : public UnaryOperation
{
public:
    using UnaryOperation::UnaryOperation;
    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override { return -m_operand->evaluate(); }
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

protected:
    QString prefix() const override { return QStringLiteral("-"); }
};

} // namespace zav
