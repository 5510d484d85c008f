#include "expr/Symbol.h"

#include "expr/Literal.h"

#include <limits>

namespace zav {

std::unique_ptr<Equation> Symbol::clone() const
{
    auto copy = std::make_unique<Symbol>(m_name);
    copy->setBinding(m_binding);
    return copy;
}

double Symbol::evaluate() const
{
    return m_binding ? m_binding->evaluate() : std::numeric_limits<double>::quiet_NaN();
}

QString Symbol::toString() const
{
    return m_binding ? m_binding->toString() : m_name;
}

bool Symbol::dependsOn(const QString &name) const
{
    if (m_name == name)
        return true;
    if (!m_binding || m_walking)
        return false;
    m_walking = true;
    const bool depends = m_binding->dependsOn(name);
    m_walking = false;
    return depends;
}

void Symbol::collectSymbols(QList<Symbol *> &symbols)
{
    symbols.append(this);
}

void Symbol::collectTerms(QSet<QString> &terms) const
{
    if (m_binding)
        m_binding->collectTerms(terms);
}

bool Symbol::isDifferentiable(const QString &name) const
{
    return m_binding ? m_binding->isDifferentiable(name) : false;
}

double Symbol::derivativeValue(const QString &name) const
{
    return m_binding ? m_binding->derivativeValue(name) : std::numeric_limits<double>::quiet_NaN();
}

std::unique_ptr<Equation> Symbol::derivative(const QString &name) const
{
    if (m_binding)
        return m_binding->derivative(name);
    // An unbound name is differentiated by its own name only.
    return std::make_unique<Literal>(m_name == name ? 1.0 : 0.0);
}

} // namespace zav
