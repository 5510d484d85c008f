#include "estimation/ProjectedProfileFunction.h"

#include <cmath>
#include <limits>

namespace pelk {

ProjectedProfileFunction::ProjectedProfileFunction(std::vector<Parameter *> parameters, zav::Func *function,
                                                   const zav::Equation *symbol)
    : m_parameters(std::move(parameters)),
      m_function(function),
      m_symbol(symbol),
      m_gradient(m_parameters.size())
{
    for (const Parameter *parameter : m_parameters)
        m_analytic = m_analytic && m_symbol->isDifferentiable(parameter->name());
}

double ProjectedProfileFunction::operator()(const std::vector<double> &x)
{
    m_projected = x;
    if (!project(m_projected))
        return std::numeric_limits<double>::max();
    const double value = (*m_function)(m_projected);
    return std::isnan(value) ? std::numeric_limits<double>::max() : value;
}

double ProjectedProfileFunction::constraintAt(const std::vector<double> &x)
{
    for (Parameter *parameter : m_parameters)
        parameter->setValues(&x);
    return m_symbol->evaluate() - m_target;
}

// Analytic partial derivatives when h allows them; otherwise central
// differences with a step relative to each coordinate.
void ProjectedProfileFunction::gradientAt(std::vector<double> &x, std::vector<double> &gradient)
{
    if (m_analytic) {
        constraintAt(x);
        for (std::size_t i = 0; i < m_parameters.size(); ++i)
            gradient[i] = m_symbol->derivativeValue(m_parameters[i]->name());
        return;
    }
    for (std::size_t i = 0; i < m_parameters.size(); ++i) {
        const double xi = x[i];
        const double step = 1e-7 * std::max(1.0, std::abs(xi));
        x[i] = xi + step;
        const double up = constraintAt(x);
        x[i] = xi - step;
        const double down = constraintAt(x);
        x[i] = xi;
        gradient[i] = (up - down) / (2.0 * step);
    }
}

// Newton's method for one equation in n unknowns: the minimum-norm step
// x <- x - r g / (g . g) lands on the linearised surface.
bool ProjectedProfileFunction::project(std::vector<double> &x)
{
    const double accepted = tolerance * (1.0 + std::abs(m_target));
    for (int step = 0; step <= maxNewtonSteps; ++step) {
        const double residual = constraintAt(x);
        if (!std::isfinite(residual))
            return false;
        if (std::abs(residual) <= accepted)
            return true;
        if (step == maxNewtonSteps)
            break;
        gradientAt(x, m_gradient);
        double norm2 = 0.0;
        for (std::size_t i = 0; i < m_parameters.size(); ++i)
            norm2 += m_gradient[i] * m_gradient[i];
        if (!(norm2 > 0.0) || !std::isfinite(norm2))
            return false;
        for (std::size_t i = 0; i < m_parameters.size(); ++i)
            x[i] -= residual * m_gradient[i] / norm2;
    }
    return false;
}

} // namespace pelk
