// The objective every estimation minimises: the negative log-likelihood of
// a validated model (every symbol bound) for fixed category counts.
//
// The model's log-likelihood is the sum of its likelihoods' log-likelihoods:
// - normal: log(1/s) - z^2/2 with z = (o - e)/s (the constant -log(2 pi)/2
//   is left out);
// - multinomial: log(n!/prod n_j!) + sum over n_j > 0 of n_j log p_j;
// - multinomial with an unobserved category of abundance N: the same with
//   the unobserved count u = N - n, i.e. log(N!/(u! prod n_j!)) +
//   sum over n_j > 0 of n_j log p_j + u log p_0.
// A point that cannot be used (an abundance below the observed total, a NaN
// log-likelihood, a probability above 1 + 1e-12 for a category with a
// positive count or for the unobserved category while u > 0) gives the
// largest finite double; the optimizers treat it as a very bad point. A
// probability of 0 where a count is positive gives +infinity, not the cap.
#pragma once

#include "optim/Func.h"

#include <QMap>
#include <QString>

#include <limits>
#include <vector>

namespace zav {
class Equation;
}

namespace pelk {

class ModelDefinition;

class PelkLikelihoodFuncBase : public zav::Func
{
public:
    explicit PelkLikelihoodFuncBase(const ModelDefinition &model) : m_model(&model) {}

    // Points every parameter node at x (parameter i reads x[i]; elements
    // past the last parameter are ignored) and returns the objective there.
    // The nodes keep pointing at x after the call: x must outlive any later
    // evaluation of the trees that does not re-point them.
    double operator()(const std::vector<double> &x) override;

    // The objective at the parameter values now in force.
    virtual double negativeLogLikelihood() const = 0;

private:
    const ModelDefinition *m_model;
};

class PelkLikelihoodFunc : public PelkLikelihoodFuncBase
{
public:
    // Captures the counts and the formula nodes: a later change of the
    // counts or of the model needs a new object (the workspace is locked
    // while a run uses one). A category label without an entry in counts
    // counts 0. Throws NR3::NRError "bad arg in gammln" for a negative count.
    PelkLikelihoodFunc(const ModelDefinition &model, const QMap<QString, int> &categoryCounts);

    double negativeLogLikelihood() const override;

    // Log-likelihood of the likelihood at list position `position`. Sets
    // `invalid` (and returns 0) when the point is outside its domain: an
    // abundance below the observed total, a probability above 1, or a
    // formula that is missing.
    // Leaves `invalid` untouched otherwise.
    double logLikelihood(int position, bool &invalid) const;

    // The negated log-likelihood of one likelihood, with the guards of the
    // whole objective: the largest finite double when invalid or NaN.
    double likelihoodObjective(int position) const;

private:
    // Everything about one likelihood that depends on the counts alone,
    // computed once so that a call costs one evaluation per formula and one
    // logarithm per category with a positive count.
    struct Constants
    {
        enum class Kind { Normal, Multinomial, WithUnobservedCategory };
        int id = -1;
        Kind kind = Kind::Normal;
        // Observed count of each regular category, in category order.
        std::vector<double> counts;
        // Without an unobserved category: log n! - sum log n_j!.
        double multinomialConstant = 0.0;
        // With an unobserved category: sum log n_j!.
        double sumOfCountLogFactorials = 0.0;
        // With an unobserved category: n = sum n_j (0 for the others).
        double totalObserved = 0.0;
        // The formula nodes, looked up once rather than on every call: the
        // probability of each regular category; the unobserved category's
        // probability and abundance; a normal likelihood's observed,
        // expected and standard-error formulas. Null where the model has none.
        std::vector<const zav::Equation *> probabilities;
        const zav::Equation *unobserved = nullptr;
        const zav::Equation *abundance = nullptr;
        const zav::Equation *observed = nullptr;
        const zav::Equation *expected = nullptr;
        const zav::Equation *standardError = nullptr;
    };

    static double normalLogLikelihood(const Constants &constants, bool &invalid);
    static double unobservedLogLikelihood(const Constants &constants, bool &invalid);
    // Adds n_j log p_j, one category after the other, for the regular
    // categories with n_j > 0; the other categories' formulas are not
    // evaluated at all, so a zero or NaN probability there is harmless.
    static double addObservedCategoryTerms(double logLikelihoodValue, const Constants &constants,
                                           bool &invalid);

    // Per likelihood, in list order (normal likelihoods hold only their id).
    std::vector<Constants> m_likelihoods;
};

} // namespace pelk
