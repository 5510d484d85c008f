// The profile of parameter j: the parameter is fixed at q and the negative
// log-likelihood minimised over the others by the quasi-Newton method on
// the compiled program's exact gradient, whatever optimizer the parameter
// run used.
//
// With a covariance matrix S, the first fit starts from the inverse of the
// free parameters' Hessian block at the estimates, which is the
// conditional covariance S_-j,-j - S_-j,j S_j,-j / S_jj; later fits of the
// same search start from the inverse the previous one ended with.
#pragma once

#include "estimation/ProfileFit.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "optim/QuasiNewtonMinimizer.h"

namespace zav {
class Matrix;
}

namespace pelk {

class ParameterProfileFit : public zav::ProfileFit
{
public:
    // `function` is the search's own copy; `covariance` (null without one)
    // is read here only.
    ParameterProfileFit(PelkLikelihoodFunc function, int parameterIndex, const zav::Matrix *covariance);

    double minimum(double q, std::vector<double> &point, const zav::CancelFlag *cancelFlag) override;
    long evaluationCost() const override { return m_free.function().evaluationCost(); }

private:
    // f as a function of the free parameters, the fixed one at q.
    class FreeParameters : public zav::GradientFunc
    {
    public:
        FreeParameters(PelkLikelihoodFunc function, int fixedIndex)
            : m_function(std::move(function)), m_fixed(std::size_t(fixedIndex))
        {}
        double valueAndGradient(const std::vector<double> &x, std::vector<double> &gradient) override;
        void fix(double q) { m_q = q; }
        const PelkLikelihoodFunc &function() const { return m_function; }
        std::vector<double> freePart(const std::vector<double> &point) const;
        void writeBack(const std::vector<double> &free, std::vector<double> &point) const;

    private:
        PelkLikelihoodFunc m_function;
        std::size_t m_fixed;
        double m_q = 0.0;
        std::vector<double> m_point, m_gradient; // reused: an evaluation allocates nothing
    };

    FreeParameters m_free;
    zav::QuasiNewtonMinimizer m_minimizer;
};

} // namespace pelk
