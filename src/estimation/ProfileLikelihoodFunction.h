// The objective of a profile-likelihood step for a parameter: the negative
// log-likelihood plus a penalty |w| |h - q| that holds the parameter h at
// the target q. The weight w is itself the last coordinate of the point, so
// the optimizer may lower it; the caller raises it again when it falls
// below 1.
#pragma once

#include "optim/Func.h"

namespace zav {

class ProfileLikelihoodFunction : public Func
{
public:
    // weightIndex: the number of parameters n; the point has n + 1 elements.
    // h is element parameterIndex of the point.
    ProfileLikelihoodFunction(int weightIndex, Func *function, int parameterIndex)
        : m_weightIndex(weightIndex), m_function(function), m_parameterIndex(parameterIndex)
    {}

    void setTarget(double target) { m_target = target; }
    double target() const { return m_target; }

    // NaN gives the largest finite double, the value of an unusable point.
    double operator()(const std::vector<double> &x) override;

private:
    int m_weightIndex;
    Func *m_function;
    int m_parameterIndex;
    double m_target = 0.0;
};

} // namespace zav
