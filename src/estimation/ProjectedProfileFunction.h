// The objective of a profile-likelihood step for a convenience function h:
// the negative log-likelihood at the point moved onto the surface h = q.
//
// A penalty |w| |h - q| does not work for a function of several
// parameters: once a line search has put the point on the surface, every
// coordinate step leaves it and pays w, so the other parameters never reach
// their constrained optimum and the limits come out too narrow. Here each
// point is first projected onto the surface by Newton steps along the
// gradient of h, so every point the optimizer tries satisfies the
// constraint and the search moves along it freely. h and its exact
// gradient come from h compiled: the trees are never read.
#pragma once

#include "likelihood/CompiledFormula.h"
#include "optim/Func.h"

#include <vector>

namespace pelk {

class ProjectedProfileFunction : public zav::Func
{
public:
    // `function` is the negative log-likelihood, not owned.
    ProjectedProfileFunction(zav::Func *function, CompiledFormula h) : m_function(function), m_h(std::move(h)) {}

    void setTarget(double target) { m_target = target; }

    // f at the projection of x; the largest finite double when x cannot be
    // projected (h does not reach q nearby, or its gradient vanishes).
    double operator()(const std::vector<double> &x) override;

    // Moves x onto h = q in place; false when that fails.
    bool project(std::vector<double> &x);

    // Newton steps allowed per projection, and the accepted residual
    // |h - q| <= tolerance (1 + |q|): far below any precision of the limits.
    static constexpr int maxNewtonSteps = 50;
    static constexpr double tolerance = 1e-12;

private:
    zav::Func *m_function;
    CompiledFormula m_h;
    double m_target = 0.0;
    std::vector<double> m_projected; // reused, so a call allocates nothing
    std::vector<double> m_gradient;
};

} // namespace pelk
