// The results of the last estimation: what the worker writes and the
// result pages, the report and the command line read once the run is over.
#pragma once

#include "optim/Matrix.h"

#include <optional>
#include <vector>

namespace pelk {

struct EstimationResults
{
    // One per model parameter, in parameter order. Starts as a copy of the
    // seeds; the parameter run overwrites it with the minimiser.
    std::vector<double> estimates;
    // The inverse Hessian of the negative log-likelihood at the estimates:
    // meaningful only when covarianceAvailable is true.
    zav::Matrix covariance;
    bool covarianceAvailable = false;
    // The rank of the Hessian the covariance run measured (HessianCalculator::
    // rank), also when it was singular; none without such a run or when an
    // entry was not finite.
    std::optional<int> hessianRank;
    // The parameter run finished without error or cancellation.
    bool parametersEstimated = false;
};

} // namespace pelk
