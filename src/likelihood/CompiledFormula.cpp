#include "likelihood/CompiledFormula.h"

#include "likelihood/FormulaCompiler.h"

#include <algorithm>

namespace pelk {

namespace {

std::shared_ptr<const FormulaProgram> compile(const zav::Equation &formula, int parameterCount)
{
    FormulaCompiler compiler(parameterCount);
    compiler.addOutput(&formula);
    return std::make_shared<const FormulaProgram>(compiler.program());
}

} // namespace

CompiledFormula::CompiledFormula(const zav::Equation &formula, int parameterCount)
    : m_program(compile(formula, parameterCount)),
      m_slots(m_program->initialSlots()),
      m_adjoints(m_slots.size(), 0.0)
{}

double CompiledFormula::value(const std::vector<double> &x)
{
    m_program->evaluate(x.data(), m_slots.data());
    return m_slots[std::size_t(m_program->outputSlot(0))];
}

double CompiledFormula::valueAndGradient(const std::vector<double> &x, std::vector<double> &gradient)
{
    const double result = value(x);
    std::fill(m_adjoints.begin(), m_adjoints.end(), 0.0);
    m_adjoints[std::size_t(m_program->outputSlot(0))] = 1.0;
    m_program->accumulateAdjoints(m_slots.data(), m_adjoints.data());
    gradient.assign(m_adjoints.begin(), m_adjoints.begin() + m_program->parameterCount());
    return result;
}

} // namespace pelk
