// The objective every estimation minimises: the negative log-likelihood of
// a validated model (every symbol bound) for fixed category counts (see
// LikelihoodTerms for the formula and the unusable points).
//
// It is built once per run: the formula trees are compiled into one
// FormulaProgram, and every evaluation runs that program and the
// likelihood arithmetic over its slots. The value equals the trees' own
// evaluation bit for bit; the exact gradient comes from a reverse sweep
// over the same program. Evaluating never touches the trees: code that
// reads a tree after a run points the parameters at the values first.
// A copy shares the (immutable) program and has its own working slots, so
// copies may run on several threads at once.
#pragma once

#include "likelihood/FormulaProgram.h"
#include "likelihood/LikelihoodTerms.h"
#include "optim/Func.h"

#include <QMap>
#include <QString>

#include <memory>
#include <vector>

namespace pelk {

class ModelDefinition;

class PelkLikelihoodFunc : public zav::Func
{
public:
    // Captures the counts and compiles the formulas: a later change of the
    // counts or of the model needs a new object (the workspace is locked
    // while a run uses one). Throws NR3::NRError "bad arg in gammln" for a
    // negative count.
    // With `everyCategory`, the program also computes the categories that
    // have no count here, so that copies on other counts (withCounts) can
    // share it.
    PelkLikelihoodFunc(const ModelDefinition &model, const QMap<QString, int> &categoryCounts,
                       bool everyCategory = false);

    // The same objective on other counts of the same model, sharing this
    // program (as a bootstrap refits simulated data on several threads);
    // compiles a program of its own only when this one lacks a category
    // that has a count there.
    PelkLikelihoodFunc withCounts(const ModelDefinition &model, const QMap<QString, int> &categoryCounts) const;

    // A simulated observation for the normal likelihood at list position
    // `position`, in place of its observed formula (LikelihoodTerms).
    void setObservedValue(int position, double value) { m_terms.setObservedValue(position, value); }

    // The objective at x (parameter i is x[i]; elements past the last
    // parameter are ignored).
    double operator()(const std::vector<double> &x) override;

    // The objective at x and, in `gradient` (resized to the number of
    // parameters), its exact partial derivatives; NaN derivatives at a
    // point that cannot be used.
    double valueAndGradient(const std::vector<double> &x, std::vector<double> &gradient);

    // The goodness of fit at x on these counts (see GoodnessOfFit). The
    // program must compute every category: build with everyCategory, or
    // copy such an object with withCounts().
    GoodnessOfFit goodnessOfFit(const std::vector<double> &x, int freeParameters);
    double sampleSize() const { return m_terms.sampleSize(); }
    // r of the goodness of fit's degrees of freedom: `estimableParameters`
    // less the parameters that enter the model only through the abundance
    // of likelihoods with an unobserved category (directly or through
    // convenience functions used only there). Reads the program, which
    // must compute every category.
    int freeParameterCount(int estimableParameters) const;

    // The negated log-likelihood of the likelihood at list position
    // `position`, with the guards of the whole objective, at the point of
    // the last evaluation.
    double likelihoodObjective(int position) const;

    // The work of this object's evaluations so far, in evaluations of the
    // value: a value counts 1, a value with its gradient 3 (the reverse
    // sweep costs about twice the forward one).
    long evaluationCost() const { return m_evaluationCost; }

    const LikelihoodTerms &terms() const { return m_terms; }
    const FormulaProgram &program() const { return *m_program; }

private:
    PelkLikelihoodFunc(int parameterCount, LikelihoodTerms terms, std::shared_ptr<const FormulaProgram> program);
    void evaluate(const std::vector<double> &x);
    double formulaValue(int formula) const { return m_slots[std::size_t(m_program->outputSlot(formula))]; }

    int m_parameterCount;
    LikelihoodTerms m_terms;
    std::shared_ptr<const FormulaProgram> m_program;
    // Working memory, reused so that an evaluation allocates nothing.
    std::vector<double> m_slots;
    std::vector<double> m_adjoints;
    long m_evaluationCost = 0;
};

} // namespace pelk
