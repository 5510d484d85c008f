// The objective every optimizer minimises: a scalar function of the
// parameter vector. An optimizer never owns the function.
#pragma once

#include <vector>

namespace zav {

class Func
{
public:
    virtual ~Func() = default;
    // Not const: objectives evaluate formula trees, which cache exp values.
    // Returns the largest finite double for a point that cannot be used.
    virtual double operator()(const std::vector<double> &x) = 0;
};

} // namespace zav
