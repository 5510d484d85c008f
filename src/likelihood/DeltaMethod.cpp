#include "likelihood/DeltaMethod.h"

#include "likelihood/CompiledFormula.h"
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
    std::vector<double> gradient;
    CompiledFormula(function, k).valueAndGradient(at, gradient);

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
