// One run of the Nelder-Mead downhill simplex. The engine lives for a single
// call of SimplexOptimizer::minimize and works on its own copy of the start
// point, so a throw leaves the caller's point as it was.
#pragma once

#include "optim/CancelFlag.h"
#include "optim/Func.h"
#include "optim/Matrix.h"

#include <vector>

namespace zav {

class SimplexEngine
{
public:
    SimplexEngine(Func &function, double fractionalTolerance, int maxFuncEvaluations, double stepSize);

    // Minimises from `start` and returns the vertex found (zeros after a
    // cancel, which callers discard). Throws NR3::NRError when the budget of
    // evaluations runs out.
    std::vector<double> minimize(const std::vector<double> &start, const CancelFlag *cancelFlag);

    // Evaluations counted by the method; the optimizer reports this + 1.
    int evaluationCount() const { return nfunc; }

private:
    void buildSimplex(const std::vector<double> &start);
    void computeColumnSums();
    void rankVertices(int &ilo, int &ihi, int &inhi) const;
    void keepLowestInRowZero(int ilo);
    void shrinkTowards(int ilo);
    double tryStep(int ihi, double factor);

    Func &function;
    const double ftol;
    const int maxFuncEvaluations;
    const double stepSize;

    int nfunc = 0;
    int ndim = 0;
    int mpts = 0;
    std::vector<double> y; // function value at each vertex
    Matrix p; // one vertex per row
    std::vector<double> psum; // column sums of p
    std::vector<double> pmin; // the returned vertex
    std::vector<double> ptry; // the trial point
};

} // namespace zav
