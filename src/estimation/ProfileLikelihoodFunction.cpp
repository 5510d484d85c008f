#include "estimation/ProfileLikelihoodFunction.h"

#include <cmath>
#include <limits>

namespace zav {

double ProfileLikelihoodFunction::operator()(const std::vector<double> &x)
{
    const double fx = (*m_function)(x);
    const double h = x[std::size_t(m_parameterIndex)];
    const double penalised = fx + std::abs(x[std::size_t(m_weightIndex)]) * std::abs(h - m_target);
    return std::isnan(penalised) ? std::numeric_limits<double>::max() : penalised;
}

} // namespace zav
