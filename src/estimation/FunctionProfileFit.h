// The profile of a convenience function h: the negative log-likelihood is
// minimised over points projected onto h = q (ProjectedProfileFunction) by
// the workspace's optimizer, then again from its own solution until two
// successive minima agree within 0.001, so the optimum found is the
// constrained one. The fit creates its optimizer from the settings, so
// that fits on several threads share nothing mutable.
#pragma once

#include "estimation/ProfileFit.h"
#include "estimation/ProjectedProfileFunction.h"
#include "likelihood/PelkLikelihoodFunc.h"

#include <memory>

namespace zav {
class AbstractOptimizer;
struct OptimizerSettings;
} // namespace zav

namespace pelk {

class FunctionProfileFit : public zav::ProfileFit
{
public:
    // `function` and `h` are the search's own copies.
    FunctionProfileFit(PelkLikelihoodFunc function, CompiledFormula h, const zav::OptimizerSettings &settings);
    ~FunctionProfileFit() override;

    double minimum(double q, std::vector<double> &point, const zav::CancelFlag *cancelFlag) override;
    long evaluationCost() const override { return m_function.evaluationCost(); }

private:
    PelkLikelihoodFunc m_function;
    ProjectedProfileFunction m_projected;
    std::unique_ptr<zav::AbstractOptimizer> m_optimizer;
};

} // namespace pelk
