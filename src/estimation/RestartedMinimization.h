// One minimisation as PELK runs it: the method from the start point, then
// again from each result while the method still needs more than two
// iterations. The estimation run and the bootstrap refits both minimise
// this way, so a replicate is fitted exactly as the observed data were.
#pragma once

#include "optim/CancelFlag.h"

#include <functional>
#include <vector>

namespace zav {
class AbstractOptimizer;
class Func;
} // namespace zav

namespace pelk {

class RestartedMinimization
{
public:
    // A re-estimation that needs more than two iterations again is repeated
    // at most this many times: the downhill simplex counts its evaluations,
    // which practically never fall to two, so its restarts also stop as
    // soon as one no longer lowers the objective.
    static constexpr int maxRestarts = 100;

    // `point` holds the start and receives the minimiser. `beforeRestart`
    // (may be empty) is called before each restart. Returns early, with a
    // meaningless point, when the flag is set; NR3::NRError from the method
    // passes through.
    static void run(zav::AbstractOptimizer &optimizer, bool isSimplex, zav::Func &function,
                    std::vector<double> &point, const zav::CancelFlag *cancelFlag,
                    const std::function<void()> &beforeRestart = {});
};

} // namespace pelk
