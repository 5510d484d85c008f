#include "estimation/ProjectedProfileFunction.h"

#include "model/ModelDefinition.h"

#include <cmath>
#include <limits>

namespace pelk {

ProjectedProfileFunction::ProjectedProfileFunction(const ModelDefinition &model, zav::Func *function,
                                                   const zav::Equation *symbol)
    : m_model(&model),
      m_function(function),
      m_symbol(symbol),
      m_gradient(std::size_t(model.parameterCount()))
{
    for (const QString &name : model.parameterNames())
        m_analytic = m_analytic && m_symbol->isDifferentiable(name);
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
    m_model->pointParametersAt(&x);
    return m_symbol->evaluate() - m_target;
}

// Analytic partial derivatives when h allows them; otherwise central
// differences with a step relative to each coordinate.
void ProjectedProfileFunction::gradientAt(std::vector<double> &x, std::vector<double> &gradient)
{
    if (m_analytic) {
        constraintAt(x);
        for (std::size_t i = 0; i < gradient.size(); ++i)
            gradient[i] = m_symbol->derivativeValue(m_model->parameterNames().at(qsizetype(i)));
        return;
    }
    for (std::size_t i = 0; i < m_gradient.size(); ++i) {
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
        for (std::size_t i = 0; i < m_gradient.size(); ++i)
            norm2 += m_gradient[i] * m_gradient[i];
        if (!(norm2 > 0.0) || !std::isfinite(norm2))
            return false;
        for (std::size_t i = 0; i < m_gradient.size(); ++i)
            x[i] -= residual * m_gradient[i] / norm2;
    }
    return false;
}

} // namespace pelk
