// A number written in a formula.
#pragma once

#include "expr/Equation.h"

namespace zav {

class Literal : public Equation
{
public:
    Kind kind() const override { return Kind::Literal; }
    explicit Literal(double value) : m_value(value) {}

    double value() const { return m_value; }

    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override { return m_value; }
    QString toString() const override;
    bool dependsOn(const QString &) const override { return false; }
    void collectSymbols(QList<Symbol *> &) override {}
    void collectTerms(QSet<QString> &) const override {}
    bool isDifferentiable(const QString &) const override { return true; }
    double derivativeValue(const QString &) const override { return 0.0; }
    std::unique_ptr<Equation> derivative(const QString &name) const override;

    // General format, 6 significant digits, shorter of fixed and exponent
    // notation with a signed two-digit exponent: 0.5, 1e-07, 1.2e+06.
    static QString format(double value);

private:
    double m_value;
};

} // namespace zav
