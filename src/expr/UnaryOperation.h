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

// A function of one argument that keeps its last argument and result:
// while only some parameters move, most such nodes see the same argument as
// on the previous evaluation and need no call. Plain equality decides, so
// a NaN argument never hits.
class CachedFunctionOperation : public UnaryOperation
{
public:
    double evaluate() const final;

    // Number of times the function was really computed, for tests of the cache.
    long long computations() const { return m_computations; }

protected:
    // `initialResult` is the function's value at 0, the first cached argument.
    CachedFunctionOperation(EquationPtr operand, double initialResult)
        : UnaryOperation(std::move(operand)), m_cachedResult(initialResult)
    {}
    virtual double compute(double argument) const = 0;

private:
    mutable double m_cachedArgument = 0.0;
    mutable double m_cachedResult;
    mutable long long m_computations = 0;
};

class ExponentialOperation : public CachedFunctionOperation
{
public:
    Kind kind() const override { return Kind::Exp; }
    // exp(0) = 1, so a fresh node needs no call for a first argument of 0.
    explicit ExponentialOperation(EquationPtr operand) : CachedFunctionOperation(std::move(operand), 1.0) {}
    std::unique_ptr<Equation> clone() const override;
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

    long long expCalls() const { return computations(); }

protected:
    double compute(double argument) const override;
    QString prefix() const override { return QStringLiteral("exp("); }
    QString suffix() const override { return QStringLiteral(")"); }
};

class LogOperation : public UnaryOperation
{
public:
    Kind kind() const override { return Kind::Log; }
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
// as documented; the objective treats that point as unusable. Cached like
// exp: a capture probability written once as a convenience function
// p = invLogit(a) is read by every category, and only the first read after
// a change of a needs the exponential.
class InvLogitOperation : public CachedFunctionOperation
{
public:
    Kind kind() const override { return Kind::InvLogit; }
    // invLogit(0) = 1/2 exactly.
    explicit InvLogitOperation(EquationPtr operand) : CachedFunctionOperation(std::move(operand), 0.5) {}
    std::unique_ptr<Equation> clone() const override;
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

protected:
    double compute(double argument) const override;
    QString prefix() const override { return QStringLiteral("invLogit("); }
    QString suffix() const override { return QStringLiteral(")"); }
};

class NegateOperation : public UnaryOperation
{
public:
    Kind kind() const override { return Kind::Negate; }
    using UnaryOperation::UnaryOperation;
    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override { return -m_operand->evaluate(); }
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

protected:
    QString prefix() const override { return QStringLiteral("-"); }
};

} // namespace zav
