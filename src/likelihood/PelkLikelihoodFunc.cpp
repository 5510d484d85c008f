#include "likelihood/PelkLikelihoodFunc.h"

#include "likelihood/FormulaCompiler.h"
#include "model/ModelDefinition.h"

#include <algorithm>
#include <limits>

namespace pelk {

namespace {

// Output k of the program is formula k of the terms (the numbering depends
// on the model alone); unless asked for every one, a formula no likelihood
// reads at the counts is not compiled.
std::shared_ptr<const FormulaProgram> compile(int parameterCount, const LikelihoodTerms &terms, bool everyFormula)
{
    FormulaCompiler compiler(parameterCount);
    const auto &formulas = terms.formulas();
    for (int k = 0; k < int(formulas.size()); ++k)
        compiler.addOutput(everyFormula || terms.isRead(k) ? formulas[std::size_t(k)] : nullptr);
    return std::make_shared<const FormulaProgram>(compiler.program());
}

bool computesEveryFormulaRead(const FormulaProgram &program, const LikelihoodTerms &terms)
{
    for (int k = 0; k < int(terms.formulas().size()); ++k)
        if (terms.isRead(k) && program.outputSlot(k) < 0)
            return false;
    return true;
}

} // namespace

PelkLikelihoodFunc::PelkLikelihoodFunc(const ModelDefinition &model, const QMap<QString, int> &categoryCounts,
                                       bool everyCategory)
    : m_parameterCount(model.parameterCount()),
      m_terms(model, categoryCounts),
      m_program(compile(m_parameterCount, m_terms, everyCategory)),
      m_slots(m_program->initialSlots()),
      m_adjoints(m_slots.size(), 0.0)
{}

PelkLikelihoodFunc::PelkLikelihoodFunc(int parameterCount, LikelihoodTerms terms,
                                       std::shared_ptr<const FormulaProgram> program)
    : m_parameterCount(parameterCount),
      m_terms(std::move(terms)),
      m_program(std::move(program)),
      m_slots(m_program->initialSlots()),
      m_adjoints(m_slots.size(), 0.0)
{}

PelkLikelihoodFunc PelkLikelihoodFunc::withCounts(const ModelDefinition &model,
                                                  const QMap<QString, int> &categoryCounts) const
{
    LikelihoodTerms terms(model, categoryCounts);
    if (computesEveryFormulaRead(*m_program, terms))
        return PelkLikelihoodFunc(m_parameterCount, std::move(terms), m_program);
    auto program = compile(m_parameterCount, terms, false);
    return PelkLikelihoodFunc(m_parameterCount, std::move(terms), std::move(program));
}

void PelkLikelihoodFunc::evaluate(const std::vector<double> &x)
{
    Q_ASSERT(x.size() >= std::size_t(m_parameterCount));
    m_program->evaluate(x.data(), m_slots.data());
}

double PelkLikelihoodFunc::operator()(const std::vector<double> &x)
{
    evaluate(x);
    ++m_evaluationCost;
    return m_terms.negativeLogLikelihood([this](int k) { return formulaValue(k); });
}

GoodnessOfFit PelkLikelihoodFunc::goodnessOfFit(const std::vector<double> &x, int freeParameters)
{
    evaluate(x);
    const auto value = [this](int k) {
        const int slot = m_program->outputSlot(k);
        return slot < 0 ? std::numeric_limits<double>::quiet_NaN() : m_slots[std::size_t(slot)];
    };
    const auto isConstant = [this](int k) { return m_program->isConstantOutput(k); };
    return m_terms.goodnessOfFit(value, isConstant, freeParameters);
}

int PelkLikelihoodFunc::freeParameterCount(int estimableParameters) const
{
    const std::vector<int> abundances = m_terms.abundanceFormulas();
    const int formulaCount = int(m_terms.formulas().size());
    const auto reads = [this](const std::vector<bool> &reading, int formula) {
        const int slot = m_program->outputSlot(formula);
        return slot >= 0 && reading[std::size_t(slot)];
    };
    int abundanceOnly = 0;
    for (int p = 0; p < m_parameterCount; ++p) {
        const std::vector<bool> reading = m_program->slotsReading(p);
        const bool inAbundance = std::any_of(abundances.begin(), abundances.end(),
                                             [&](int formula) { return reads(reading, formula); });
        bool elsewhere = false;
        for (int k = 0; k < formulaCount && inAbundance && !elsewhere; ++k)
            elsewhere
                = std::find(abundances.begin(), abundances.end(), k) == abundances.end() && reads(reading, k);
        abundanceOnly += inAbundance && !elsewhere;
    }
    return estimableParameters - abundanceOnly;
}

double PelkLikelihoodFunc::valueAndGradient(const std::vector<double> &x, std::vector<double> &gradient)
{
    const double value = (*this)(x);
    gradient.assign(std::size_t(m_parameterCount), std::numeric_limits<double>::quiet_NaN());
    if (!zav::isUsable(value))
        return value;
    m_evaluationCost += 2;
    std::fill(m_adjoints.begin(), m_adjoints.end(), 0.0);
    m_terms.addGradientSeeds([this](int k) { return formulaValue(k); },
                             [this](int k, double seed) {
                                 m_adjoints[std::size_t(m_program->outputSlot(k))] += seed;
                             });
    m_program->accumulateAdjoints(m_slots.data(), m_adjoints.data());
    std::copy(m_adjoints.begin(), m_adjoints.begin() + m_parameterCount, gradient.begin());
    return value;
}

double PelkLikelihoodFunc::likelihoodObjective(int position) const
{
    return m_terms.likelihoodObjective(position, [this](int k) { return formulaValue(k); });
}

} // namespace pelk
