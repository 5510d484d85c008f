// The node of one model parameter. It reads its value from element `index`
// of a vector shared by all parameter nodes; the objective re-points that
// vector on every call and rewrites nothing else in the trees.
#pragma once

#include "expr/Equation.h"

#include <vector>

namespace pelk {

class Parameter : public zav::Equation
{
public:
    Kind kind() const override { return Kind::Parameter; }
    Parameter(const QString &name, int index) : m_name(name), m_index(index) {}

    const QString &name() const { return m_name; }
    int index() const { return m_index; }

    // Points the node at the shared vector of current parameter values. The
    // vector must hold more than `index` elements while the node is evaluated.
    void setValues(const std::vector<double> *values) { m_values = values; }
    const std::vector<double> *values() const { return m_values; }

    std::unique_ptr<zav::Equation> clone() const override;
    double evaluate() const override { return (*m_values)[std::size_t(m_index)]; }
    QString toString() const override { return m_name; }
    bool dependsOn(const QString &name) const override { return m_name == name; }
    void collectSymbols(QList<zav::Symbol *> &) override {}
    void collectTerms(QSet<QString> &terms) const override { terms.insert(m_name); }
    bool isDifferentiable(const QString &) const override { return true; }
    double derivativeValue(const QString &name) const override { return m_name == name ? 1.0 : 0.0; }
    std::unique_ptr<zav::Equation> derivative(const QString &name) const override;

private:
    QString m_name;
    int m_index;
    const std::vector<double> *m_values = nullptr;
};

} // namespace pelk
