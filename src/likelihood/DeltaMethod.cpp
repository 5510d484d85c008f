#include "likelihood/DeltaMethod.h"

#include "likelihood/FormulaCompiler.h"
#include "optim/Matrix.h"

namespace pelk {

double deltaMethodVariance(const zav::Equation &function, const std::vector<double> &at,
                           const zav::Matrix *covariance, bool &ok)
{
    const int k = int(at.size());
    if (!covariance || covariance->rows() != k || covariance->columns() != k) {
        ok = false;
        return 0.0;
    }
    ok = true;
    FormulaCompiler compiler(k);
    compiler.addOutput(&function);
    const FormulaProgram program = compiler.program();
    std::vector<double> slots = program.initialSlots();
    program.evaluate(at.data(), slots.data());
    std::vector<double> gradient(slots.size(), 0.0);
    gradient[std::size_t(program.outputSlot(0))] = 1.0;
    program.accumulateAdjoints(slots.data(), gradient.data());

    double variance = 0.0;
    // Only the upper triangle is read: the off-diagonal terms are counted
    // twice through the factor 2 d_i, so the covariance must be symmetric.
    for (int i = 0; i < k; ++i) {
        const double di = gradient[std::size_t(i)];
        variance += di * di * (*covariance)(i, i);
        for (int j = i + 1; j < k; ++j)
            variance += gradient[std::size_t(j)] * (2.0 * di) * (*covariance)(i, j);
    }
    return variance;
}

} // namespace pelk
