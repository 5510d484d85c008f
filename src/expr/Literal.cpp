#include "expr/Literal.h"

namespace zav {

std::unique_ptr<Equation> Literal::clone() const
{
    return std::make_unique<Literal>(m_value);
}

QString Literal::toString() const
{
    return format(m_value);
}

std::unique_ptr<Equation> Literal::derivative(const QString &) const
{
    return std::make_unique<Literal>(0.0);
}

QString Literal::format(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace zav
