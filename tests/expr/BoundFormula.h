// A parsed formula whose symbols a, b, c and x are bound to parameter nodes
// reading one value vector, the way validation binds a model's formulas.
// Other names stay unbound.
#pragma once

#include "expr/Equation.h"
#include "model/Parameter.h"

#include <memory>
#include <vector>

class BoundFormula
{
public:
    explicit BoundFormula(const QString &text);

    zav::Equation &tree() { return *m_tree; }
    double evaluate() const { return m_tree->evaluate(); }

    // The parameter of that name (a, b, c or x) and its current value.
    pelk::Parameter *parameter(const QString &name) const;
    double &value(const QString &name);
    void setValues(double a, double b = 0.0, double c = 0.0, double x = 0.0);

    // Binds every symbol of another tree to this formula's parameters.
    void bind(zav::Equation &tree) const;

    // Central difference of evaluate() by one parameter, with a step scaled
    // to the value so that truncation and rounding errors stay near 1e-10.
    double centralDifference(const QString &name);

    static const QStringList &names();

private:
    std::vector<double> m_values;
    std::vector<std::unique_ptr<pelk::Parameter>> m_parameters;
    zav::EquationPtr m_tree;
};
