#include "estimation/ProjectedProfileFunction.h"

#include <cmath>

namespace pelk {

double ProjectedProfileFunction::operator()(const std::vector<double> &x)
{
    m_projected = x;
    if (!project(m_projected))
        return unusable;
    const double value = (*m_function)(m_projected);
    return std::isnan(value) ? unusable : value;
}

// Newton's method for one equation in n unknowns: the minimum-norm step
// x <- x - r g / (g . g) lands on the linearised surface.
bool ProjectedProfileFunction::project(std::vector<double> &x)
{
    const double accepted = tolerance * (1.0 + std::abs(m_target));
    for (int step = 0; step <= maxNewtonSteps; ++step) {
        const double residual = m_h.valueAndGradient(x, m_gradient) - m_target;
        if (!std::isfinite(residual))
            return false;
        if (std::abs(residual) <= accepted)
            return true;
        if (step == maxNewtonSteps)
            break;
        double norm2 = 0.0;
        for (const double g : m_gradient)
            norm2 += g * g;
        if (!(norm2 > 0.0) || !std::isfinite(norm2))
            return false;
        for (std::size_t i = 0; i < m_gradient.size(); ++i)
            x[i] -= residual * m_gradient[i] / norm2;
    }
    return false;
}

} // namespace pelk
