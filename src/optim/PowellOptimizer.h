// Powell's direction set method, the method selected at start-up.
#pragma once

#include "optim/AbstractOptimizer.h"

namespace zav {

class PowellOptimizer : public AbstractOptimizer
{
    Q_OBJECT

public:
    using AbstractOptimizer::AbstractOptimizer;

    // Fixed: fractional tolerance 3e-8, at most 5000 outer iterations.
    static constexpr double fractionalTolerance = 3e-8;
    int maxIterations() const { return m_maxIterations; }

    void minimize(Func &function, std::vector<double> &point, const CancelFlag *cancelFlag,
                  int &numIterations) override;

private:
    int m_maxIterations = 5000;
};

} // namespace zav
