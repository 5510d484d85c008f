#include "optim/LineMinimizer.h"

#include "optim/Bracket.h"
#include "optim/BrentMinimizer.h"
#include "optim/LineFunction.h"
#include "optim/NRError.h"

#include <cstddef>
#include <limits>

namespace zav {

namespace {

// The first bracket starts at the current point (t = 0) and a step of 0.9
// along the direction.
constexpr double firstStep = 0.9;

} // namespace

double LineMinimizer::minimize(std::vector<double> &p, std::vector<double> &xi)
{
    LineFunction line(function, p, xi);
    Bracket bracket;
    double xx = firstStep;
    bracket.searchFrom(0.0, xx, line);
    if (isCancelled(cancelFlag))
        return 0.0;
    // Halve the first step until neither of the first two abscissae lands on
    // an unusable point; a step that underflows to 0 means there is none.
    while (bracket.fa == Func::unusable || bracket.fb == Func::unusable) {
        xx /= 2.0;
        if (xx == 0.0)
            throw NR3::NRError("brent:  Invalid seeds");
        bracket.searchFrom(0.0, xx, line);
        if (isCancelled(cancelFlag))
            return 0.0;
    }
    BrentMinimizer brent;
    const double xmin = brent.minimize(bracket, line, cancelFlag);
    for (std::size_t j = 0; j < p.size(); ++j) {
        xi[j] *= xmin;
        p[j] += xi[j];
    }
    return brent.fmin;
}

} // namespace zav
