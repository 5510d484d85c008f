// A name in a formula. Validation binds it to the parameter node or to the
// root of the convenience function of that name; a Symbol never owns its
// binding. An unbound Symbol evaluates to NaN: validation refuses to go on
// while any symbol is undefined, so that value is never used as a result.
#pragma once

#include "expr/Equation.h"

namespace zav {

class Symbol : public Equation
{
public:
    Kind kind() const override { return Kind::Symbol; }
    explicit Symbol(const QString &name) : m_name(name) {}

    const QString &name() const { return m_name; }
    Equation *binding() const { return m_binding; }
    void setBinding(Equation *binding) { m_binding = binding; }

    std::unique_ptr<Equation> clone() const override;
    double evaluate() const override;
    QString toString() const override;
    bool dependsOn(const QString &name) const override;
    void collectSymbols(QList<Symbol *> &symbols) override;
    void collectTerms(QSet<QString> &terms) const override;
    bool isDifferentiable(const QString &name) const override;
    double derivativeValue(const QString &name) const override;
    std::unique_ptr<Equation> derivative(const QString &name) const override;

private:
    QString m_name;
    Equation *m_binding = nullptr;
    // Set while dependsOn walks through this symbol's binding, so that a
    // cycle of convenience functions (f = g, g = h, h = g) ends the walk
    // instead of recursing without end.
    mutable bool m_walking = false;
};

} // namespace zav
