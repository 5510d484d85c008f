#include "estimation/ParameterProfileFit.h"

#include "optim/Func.h"
#include "optim/Matrix.h"
#include "optim/NRError.h"

#include <cmath>

namespace pelk {

namespace {

// The conditional covariance of the parameters other than j, or an empty
// matrix when S cannot give one (no usable variance of j or of another).
zav::Matrix conditionalCovariance(const zav::Matrix &s, int j)
{
    const int n = s.rows();
    const double sjj = s(j, j);
    if (!(sjj > 0.0) || !std::isfinite(sjj))
        return {};
    zav::Matrix result(n - 1, n - 1);
    for (int a = 0, ra = 0; a < n; ++a) {
        if (a == j)
            continue;
        for (int b = 0, rb = 0; b < n; ++b) {
            if (b == j)
                continue;
            result(ra, rb) = s(a, b) - s(a, j) * s(j, b) / sjj;
            ++rb;
        }
        if (!(result(ra, ra) > 0.0) || !std::isfinite(result(ra, ra)))
            return {};
        ++ra;
    }
    return result;
}

} // namespace

double ParameterProfileFit::FreeParameters::valueAndGradient(const std::vector<double> &x,
                                                             std::vector<double> &gradient)
{
    writeBack(x, m_point);
    const double value = m_function.valueAndGradient(m_point, m_gradient);
    gradient.resize(x.size());
    for (std::size_t i = 0, k = 0; i < m_gradient.size(); ++i)
        if (i != m_fixed)
            gradient[k++] = m_gradient[i];
    return value;
}

std::vector<double> ParameterProfileFit::FreeParameters::freePart(const std::vector<double> &point) const
{
    std::vector<double> free;
    free.reserve(point.size() - 1);
    for (std::size_t i = 0; i < point.size(); ++i)
        if (i != m_fixed)
            free.push_back(point[i]);
    return free;
}

void ParameterProfileFit::FreeParameters::writeBack(const std::vector<double> &free,
                                                    std::vector<double> &point) const
{
    point.resize(free.size() + 1);
    for (std::size_t i = 0, k = 0; i < point.size(); ++i)
        point[i] = i == m_fixed ? m_q : free[k++];
}

ParameterProfileFit::ParameterProfileFit(PelkLikelihoodFunc function, int parameterIndex,
                                         const zav::Matrix *covariance)
    : m_free(std::move(function), parameterIndex)
{
    if (covariance && covariance->rows() > 1) {
        const zav::Matrix inverse = conditionalCovariance(*covariance, parameterIndex);
        if (!inverse.isEmpty())
            m_minimizer.setInverseHessian(inverse);
    }
}

double ParameterProfileFit::minimum(double q, std::vector<double> &point, const zav::CancelFlag *cancelFlag)
{
    m_free.fix(q);
    std::vector<double> free = m_free.freePart(point);
    double f = 0.0;
    switch (m_minimizer.minimize(m_free, free, f, cancelFlag)) {
    case zav::QuasiNewtonMinimizer::Converged:
        break;
    case zav::QuasiNewtonMinimizer::Unusable:
        return zav::Func::unusable;
    case zav::QuasiNewtonMinimizer::Cancelled:
        return 0.0;
    case zav::QuasiNewtonMinimizer::Stalled:
    case zav::QuasiNewtonMinimizer::IterationLimit:
        throw NR3::NRError("The profile's minimisation did not converge");
    }
    m_free.writeBack(free, point);
    return f;
}

} // namespace pelk
