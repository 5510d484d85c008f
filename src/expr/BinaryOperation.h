// The five arithmetic operators. A binary node owns both operands.
#pragma once

#include "expr/Equation.h"

namespace zav {

class BinaryOperation : public Equation
{
public:
    BinaryOperation(EquationPtr left, EquationPtr right) : m_left(std::move(left)), m_right(std::move(right))
    {}

    const Equation *left() const { return m_left.get(); }
    const Equation *right() const { return m_right.get(); }

    QString toString() const override;
    bool dependsOn(const QString &name) const override;
    void collectSymbols(QList<Symbol *> &symbols) override;
    bool isDifferentiable(const QString &name) const override;

protected:
    // "+", "-", "*", "/" or "^", written between the operands' texts.
    virtual QChar operatorSign() const = 0;

    EquationPtr m_left;
    EquationPtr m_right;
};

class AddOperation : public BinaryOperation
{
public:
    Kind kind() const override { return Kind::Add; }
    using BinaryOperation::BinaryOperation;
    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override { return m_left->evaluate() + m_right->evaluate(); }
    void collectTerms(QSet<QString> &terms) const override;
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

protected:
    QChar operatorSign() const override { return u'+'; }
};

class SubtractOperation : public BinaryOperation
{
public:
    Kind kind() const override { return Kind::Subtract; }
    using BinaryOperation::BinaryOperation;
    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override { return m_left->evaluate() - m_right->evaluate(); }
    void collectTerms(QSet<QString> &terms) const override;
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

protected:
    QChar operatorSign() const override { return u'-'; }
};

class MultiplyOperation : public BinaryOperation
{
public:
    Kind kind() const override { return Kind::Multiply; }
    using BinaryOperation::BinaryOperation;
    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override { return m_left->evaluate() * m_right->evaluate(); }
    void collectTerms(QSet<QString> &terms) const override;
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

protected:
    QChar operatorSign() const override { return u'*'; }
};

class DivideOperation : public BinaryOperation
{
public:
    Kind kind() const override { return Kind::Divide; }
    using BinaryOperation::BinaryOperation;
    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override { return m_left->evaluate() / m_right->evaluate(); }
    void collectTerms(QSet<QString> &terms) const override;
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

protected:
    QChar operatorSign() const override { return u'/'; }
};

class PowerOperation : public BinaryOperation
{
public:
    Kind kind() const override { return Kind::Power; }
    using BinaryOperation::BinaryOperation;
    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override;
    void collectTerms(QSet<QString> &terms) const override;
    bool isDifferentiable(const QString &name) const override;
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

protected:
    QChar operatorSign() const override { return u'^'; }
};

} // namespace zav
