#include "estimation/ProfileSolver.h"

#include <cmath>

namespace zav {

double ProfileSolver::chiSquared(double q, double minimum, const CancelFlag *cancelFlag)
{
    // Successive solutions closer than this in objective value are settled.
    constexpr double settled = 0.001;
    restart(q);
    if (!solve(cancelFlag))
        return 0.0;
    double value = objective();
    double previous;
    do {
        previous = value;
        if (!solve(cancelFlag))
            return 0.0;
        value = objective();
    } while (std::abs(previous - value) > settled);
    return 2.0 * (likelihood(value) - minimum);
}

} // namespace zav
