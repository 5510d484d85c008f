// The Fletch quasi-Newton engine that FletchOptimizer owns: Fletcher's
// variable-metric method with the Hessian approximation held as L D L^T,
// finite-difference gradients (forward first, central once forward stalls)
// and a line search that halves, interpolates and extrapolates the step.
//
// The order of function evaluations and of the tests between them is part of
// the method: analysts compare results across PELK versions, so changing the
// order changes results.
#pragma once

#include "optim/CancelFlag.h"
#include "optim/FletchSettings.h"
#include "optim/Func.h"

#include <vector>

namespace zav {

struct FletchEngine
{
    enum Outcome {
        Converged = 0, // no useful step left, first with forward then central differences
        IterationLimit = 1, // maxIterations reached or the evaluation budget spent
        Cancelled = 2,
    };

    double f = 0.0; // function value at the current point
    const CancelFlag *cancelFlag = nullptr; // the caller's flag, set per run
    double stepSize = FletchSettings::defaultStepSize;
    double precision = FletchSettings::defaultPrecision;
    int maxIterations = FletchSettings::defaultMaxIterations;

    // Sets up, with the settings above, the working storage
    // for `x` and evaluates f there. Called once per run before run().
    void prepare(Func &function, const std::vector<double> &x, const CancelFlag *flag);

    // Minimises in place: on return `x` holds the last accepted point and
    // `iterations` the iterations of both difference modes.
    Outcome run(Func &function, std::vector<double> &x, int &iterations);

private:
    // How a stage of one iteration ended: Proceed goes on to the next stage
    // (or the next iteration), Stalled leaves the current difference mode.
    enum Step { Proceed, Stalled, StepLimit, StepCancelled };

    Step iterate(Func &function, std::vector<double> &x, int &iterations);
    Step lineSearch(Func &function, std::vector<double> &x, int iterations);
    Step extrapolate(Func &function, std::vector<double> &x, int iterations);
    Step update(Func &function, std::vector<double> &x, int iterations);
    void computeGradient(Func &function, std::vector<double> &x);
    void solveSearchDirection();
    void rankOneUpdate(std::vector<double> z, double sigma);
    void setTrialPoint(const std::vector<double> &x, double multiplier);
    void setIdentity();

    std::size_t columnStart(std::size_t column) const;

    std::vector<double> m_g; // gradient at the current point
    std::vector<double> m_gOld; // gradient before the last step
    // L (unit lower triangular) and D packed column by column: entry
    // columnStart(i) is D_i, followed by L_{i+1,i} ... L_{n-1,i}.
    std::vector<double> m_h;
    std::vector<double> m_w; // trial point
    std::vector<double> m_s; // search direction
    std::vector<double> m_scale; // typical magnitude of each parameter
    int m_mode = 1; // 1 forward differences, 2 central differences
    long m_nfev = 0; // function evaluations in this run
    double m_dfn = 0.0; // expected decrease of the next iteration
    double m_gs0 = 0.0; // g.s at the start of the iteration (negative)
    double m_ff = 0.0; // f at the start of the iteration
    double m_alpha = 0.0; // step multiplier along s
    double m_tot = 0.0; // accumulated accepted multiplier
    double m_aeps = 0.0; // multiplier moving no parameter by over precision x scale
    double m_f2 = 0.0; // f at the start of the line search
    int m_stage = 0; // 0 no halving yet, 1 halved, 2 last extrapolation
    double m_dmin = 1.0; // smallest diagonal of D so far, the floor of updates
};

} // namespace zav
