#include "likelihood/FormulaProgram.h"

#include <algorithm>

namespace pelk {

std::vector<double> FormulaProgram::initialSlots() const
{
    std::vector<double> slots(std::size_t(slotCount()), 0.0);
    std::copy(m_constants.begin(), m_constants.end(), slots.begin() + m_parameterCount);
    return slots;
}

namespace {

// One run of one operation: the switch is outside the loop, so the loop
// body is a load, an operation and a store.
template<FormulaOperation operation>
void evaluateRun(const int *left, const int *right, int count, double *slots, double *out)
{
    for (int i = 0; i < count; ++i)
        out[i] = applyOperation(operation, slots[left[i]], slots[right[i]]);
}

using RunEvaluator = void (*)(const int *, const int *, int, double *, double *);

// Indexed by FormulaOperation.
constexpr RunEvaluator runEvaluators[] = {
    evaluateRun<FormulaOperation::Add>,      evaluateRun<FormulaOperation::Subtract>,
    evaluateRun<FormulaOperation::Multiply>, evaluateRun<FormulaOperation::Divide>,
    evaluateRun<FormulaOperation::Power>,    evaluateRun<FormulaOperation::Exp>,
    evaluateRun<FormulaOperation::Log>,      evaluateRun<FormulaOperation::InvLogit>,
    evaluateRun<FormulaOperation::Negate>};

} // namespace

std::vector<bool> FormulaProgram::slotsReading(int parameter) const
{
    std::vector<bool> reads(std::size_t(slotCount()), false);
    reads[std::size_t(parameter)] = true;
    for (const Run &run : m_runs) {
        // The unary operations leave their right operand at slot 0.
        const bool binary = run.operation <= FormulaOperation::Power;
        for (int k = run.begin; k < run.end; ++k)
            reads[std::size_t(m_firstInstructionSlot + k)] = reads[std::size_t(m_left[std::size_t(k)])]
                || (binary && reads[std::size_t(m_right[std::size_t(k)])]);
    }
    return reads;
}

void FormulaProgram::evaluate(const double *parameters, double *slots) const
{
    std::copy(parameters, parameters + m_parameterCount, slots);
    double *instructionSlots = slots + m_firstInstructionSlot;
    for (const Run &run : m_runs)
        runEvaluators[int(run.operation)](m_left.data() + run.begin, m_right.data() + run.begin,
                                          run.end - run.begin, slots, instructionSlots + run.begin);
}

// With c the instruction's value and c' its adjoint, each operation adds to
// its operands' adjoints the chain-rule terms:
//   a + b: a' += c', b' += c'          a - b: a' += c', b' -= c'
//   a * b: a' += c' b, b' += c' a      a / b: a' += c'/b, b' -= c' c/b
//   a ^ b: a' += c' b a^(b-1), b' += c' c ln a (each only for a variable
//          operand: with a constant exponent ln a is never needed, and with
//          the parameter on both sides both terms add up to the total)
//   exp a: a' += c' c                  log a: a' += c'/a
//   invLogit a: a' += c' c (1 - c)     -a: a' -= c'
void FormulaProgram::accumulateAdjoints(const double *slots, double *adjoints) const
{
    for (auto run = m_runs.rbegin(); run != m_runs.rend(); ++run) {
        for (int k = run->end - 1; k >= run->begin; --k) {
            const int slot = m_firstInstructionSlot + k;
            const double g = adjoints[slot];
            if (g == 0.0)
                continue;
            const int l = m_left[std::size_t(k)];
            const int r = m_right[std::size_t(k)];
            const double a = slots[l];
            const double b = slots[r];
            const double c = slots[slot];
            switch (run->operation) {
            case FormulaOperation::Add:
                adjoints[l] += g;
                adjoints[r] += g;
                break;
            case FormulaOperation::Subtract:
                adjoints[l] += g;
                adjoints[r] -= g;
                break;
            case FormulaOperation::Multiply:
                adjoints[l] += g * b;
                adjoints[r] += g * a;
                break;
            case FormulaOperation::Divide:
                adjoints[l] += g / b;
                adjoints[r] -= g * c / b;
                break;
            case FormulaOperation::Power:
                if (isVariable(l))
                    adjoints[l] += g * (b * std::pow(a, b - 1.0));
                if (isVariable(r))
                    adjoints[r] += g * (c * std::log(a));
                break;
            case FormulaOperation::Exp:
                adjoints[l] += g * c;
                break;
            case FormulaOperation::Log:
                adjoints[l] += g / a;
                break;
            case FormulaOperation::InvLogit:
                adjoints[l] += g * (c * (1.0 - c));
                break;
            case FormulaOperation::Negate:
                adjoints[l] -= g;
                break;
            }
        }
    }
}

} // namespace pelk
