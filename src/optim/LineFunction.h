// The objective seen along one line: t -> function(origin + t * direction).
// Holds references to the origin and the direction, so it always follows the
// current point and direction of the search that owns them.
#pragma once

#include "optim/Func.h"

#include <cstddef>
#include <vector>

namespace zav {

class LineFunction
{
public:
    LineFunction(Func &function, const std::vector<double> &origin, const std::vector<double> &direction)
        : function(function), origin(origin), direction(direction), work(origin.size())
    {}

    double operator()(double t)
    {
        for (std::size_t j = 0; j < origin.size(); ++j)
            work[j] = origin[j] + t * direction[j];
        return function(work);
    }

private:
    Func &function;
    const std::vector<double> &origin;
    const std::vector<double> &direction;
    std::vector<double> work; // the point on the line, reused between calls
};

} // namespace zav
