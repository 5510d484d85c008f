#include "estimation/FunctionProfileFit.h"

#include "optim/AbstractOptimizer.h"
#include "optim/OptimizerSettings.h"

#include <cmath>

namespace pelk {

FunctionProfileFit::FunctionProfileFit(PelkLikelihoodFunc function, CompiledFormula h,
                                       const zav::OptimizerSettings &settings)
    : m_function(std::move(function)),
      m_projected(&m_function, std::move(h)),
      m_optimizer(settings.createOptimizer())
{}

FunctionProfileFit::~FunctionProfileFit() = default;

double FunctionProfileFit::minimum(double q, std::vector<double> &point, const zav::CancelFlag *cancelFlag)
{
    // Successive minima closer than this are settled.
    constexpr double settled = 0.001;
    m_projected.setTarget(q);
    if (!m_projected.project(point))
        return zav::Func::unusable;
    double value = m_projected(point);
    if (!zav::isUsable(value))
        return value;
    double previous;
    do {
        previous = value;
        int iterations = 0;
        m_optimizer->minimize(m_projected, point, cancelFlag, iterations);
        if (zav::isCancelled(cancelFlag))
            return 0.0;
        value = m_projected(point);
    } while (std::abs(previous - value) > settled);
    // The optimizer's point is off the surface by its last step: the
    // solution is its projection.
    m_projected.project(point);
    return value;
}

} // namespace pelk
