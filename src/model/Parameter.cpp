#include "model/Parameter.h"

#include "expr/Literal.h"

namespace pelk {

std::unique_ptr<zav::Equation> Parameter::clone() const
{
    auto copy = std::make_unique<Parameter>(m_name, m_index);
    copy->setValues(m_values);
    return copy;
}

std::unique_ptr<zav::Equation> Parameter::derivative(const QString &name) const
{
    return std::make_unique<zav::Literal>(m_name == name ? 1.0 : 0.0);
}

} // namespace pelk
