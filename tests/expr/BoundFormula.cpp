#include "BoundFormula.h"

#include "expr/Parser.h"
#include "expr/Symbol.h"
#include "expr/SymbolValidator.h"

#include <algorithm>
#include <cmath>

const QStringList &BoundFormula::names()
{
    static const QStringList all{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                 QStringLiteral("x")};
    return all;
}

BoundFormula::BoundFormula(const QString &text)
    : m_values(std::size_t(names().size()), 0.0)
{
    for (int i = 0; i < names().size(); ++i) {
        m_parameters.push_back(std::make_unique<pelk::Parameter>(names().at(i), i));
        m_parameters.back()->setValues(&m_values);
    }
    m_tree = zav::parse(text, pelk::SymbolValidator());
    bind(*m_tree);
}

void BoundFormula::bind(zav::Equation &tree) const
{
    QList<zav::Symbol *> symbols;
    tree.collectSymbols(symbols);
    for (zav::Symbol *symbol : std::as_const(symbols))
        if (pelk::Parameter *p = parameter(symbol->name()))
            symbol->setBinding(p);
}

pelk::Parameter *BoundFormula::parameter(const QString &name) const
{
    const int i = names().indexOf(name);
    return i < 0 ? nullptr : m_parameters[std::size_t(i)].get();
}

double &BoundFormula::value(const QString &name)
{
    return m_values.at(std::size_t(names().indexOf(name)));
}

void BoundFormula::setValues(double a, double b, double c, double x)
{
    // Rewrite the elements in place: the parameter nodes hold the vector's
    // address, exactly as the objective's shared vector is used.
    m_values[0] = a;
    m_values[1] = b;
    m_values[2] = c;
    m_values[3] = x;
}

double BoundFormula::centralDifference(const QString &name)
{
    double &v = value(name);
    const double saved = v;
    const double h = 1e-5 * std::max(1.0, std::abs(saved));
    v = saved + h;
    const double up = evaluate();
    v = saved - h;
    const double down = evaluate();
    v = saved;
    return (up - down) / (2.0 * h);
}
