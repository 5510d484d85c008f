#include "estimation/RestartedMinimization.h"

#include "optim/AbstractOptimizer.h"

namespace pelk {

void RestartedMinimization::run(zav::AbstractOptimizer &optimizer, bool isSimplex, zav::Func &function,
                                std::vector<double> &point, const zav::CancelFlag *cancelFlag,
                                const std::function<void()> &beforeRestart)
{
    int numIterations = 0;
    optimizer.minimize(function, point, cancelFlag, numIterations);
    // The simplex restarts only while they lower the objective: its value
    // and point so far.
    double value = isSimplex ? function(point) : 0.0;
    std::vector<double> previous;
    for (int pass = 0; pass < maxRestarts && numIterations > 2; ++pass) {
        if (zav::isCancelled(cancelFlag))
            return;
        if (beforeRestart)
            beforeRestart();
        if (isSimplex)
            previous = point;
        optimizer.minimize(function, point, cancelFlag, numIterations);
        if (zav::isCancelled(cancelFlag))
            return;
        if (isSimplex) {
            const double newValue = function(point);
            if (!(newValue < value)) {
                // No gain: keep the better point and stop restarting.
                if (newValue > value)
                    point = previous;
                return;
            }
            value = newValue;
        }
    }
}

} // namespace pelk
