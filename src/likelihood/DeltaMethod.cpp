#include "likelihood/DeltaMethod.h"

#include "model/ModelDefinition.h"
#include "optim/Matrix.h"

namespace pelk {

double deltaMethodVariance(const zav::Equation &function, const ModelDefinition &model,
                           const zav::Matrix *covariance, bool &ok)
{
    const int k = model.parameterCount();
    if (!covariance || covariance->rows() != k || covariance->columns() != k) {
        ok = false;
        return 0.0;
    }
    ok = true;
    double variance = 0.0;
    // Only the upper triangle is read: the off-diagonal terms are counted
    // twice through the factor 2 d_i, so the covariance must be symmetric.
    for (int i = 0; i < k; ++i) {
        const QString name = model.parameterName(i);
        if (!function.isDifferentiable(name)) {
            ok = false;
            return variance;
        }
        const double di = function.derivativeValue(name);
        variance += di * di * (*covariance)(i, i);
        for (int j = i + 1; j < k; ++j) {
            const QString other = model.parameterName(j);
            if (!function.isDifferentiable(other)) {
                ok = false;
                break;
            }
            variance += function.derivativeValue(other) * (2.0 * di) * (*covariance)(i, j);
        }
    }
    return variance;
}

} // namespace pelk
