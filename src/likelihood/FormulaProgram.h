// Formula trees compiled into one flat program: an array of instructions
// over an array of values ("slots"), evaluated in one loop without virtual
// calls or allocation, with an exact gradient by a reverse sweep over the
// same instructions.
//
// Slot layout: parameter i is slot i, then the constants, then one slot per
// instruction. An instruction reads earlier slots only and writes its own
// slot. Instructions are stored in runs of one operation (all instructions
// of a run are independent of each other), so the loop dispatches once
// per run, not once per instruction.
//
// Every operation computes exactly what the formula node it came from
// computes (FormulaOperation below is the one definition both use), so an
// output equals the tree's evaluate() bit for bit, NaN and infinities
// included. The program is immutable once built: threads share one program,
// each with its own slots.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace pelk {

// In the order of the formula node kinds they come from.
enum class FormulaOperation : std::uint8_t { Add, Subtract, Multiply, Divide, Power, Exp, Log, InvLogit, Negate };

// The value of an operation on its operands, as the formula nodes define
// it (the right operand is ignored by the unary ones). invLogit is
// e / (1 + e) with e = exp(a), which overflows to NaN for large a.
inline double applyOperation(FormulaOperation operation, double a, double b)
{
    switch (operation) {
    case FormulaOperation::Add:
        return a + b;
    case FormulaOperation::Subtract:
        return a - b;
    case FormulaOperation::Multiply:
        return a * b;
    case FormulaOperation::Divide:
        return a / b;
    case FormulaOperation::Power:
        return std::pow(a, b);
    case FormulaOperation::Exp:
        return std::exp(a);
    case FormulaOperation::Log:
        return std::log(a);
    case FormulaOperation::InvLogit: {
        const double e = std::exp(a);
        return e / (1.0 + e);
    }
    case FormulaOperation::Negate:
        return -a;
    }
    return a;
}

class FormulaProgram
{
public:
    int parameterCount() const { return m_parameterCount; }
    int instructionCount() const { return int(m_left.size()); }
    int slotCount() const { return m_firstInstructionSlot + instructionCount(); }

    // The slot holding output k, or -1 when there is no formula for it.
    int outputCount() const { return int(m_outputs.size()); }
    int outputSlot(int k) const { return m_outputs[std::size_t(k)]; }
    // Whether output k is a constant: a formula of no parameter is folded
    // whole.
    bool isConstantOutput(int k) const { return outputSlot(k) >= 0 && !isVariable(outputSlot(k)); }

    // For each slot, whether its value depends on parameter `parameter`
    // (directly or through earlier slots): one sweep over the instructions.
    std::vector<bool> slotsReading(int parameter) const;

    // Slots sized slotCount() with the constants in place: the caller keeps
    // them and evaluates into them as often as it likes.
    std::vector<double> initialSlots() const;

    // Writes the parameters and then every instruction's value into slots.
    void evaluate(const double *parameters, double *slots) const;

    // Reverse sweep. On entry, adjoints (sized slotCount()) hold the partial
    // derivatives of a scalar by the outputs' slots and zero elsewhere, and
    // slots hold an evaluate() of the same point. On return adjoints[i],
    // i < parameterCount(), is the derivative by parameter i (the other
    // entries are working values). An instruction whose adjoint is 0 is
    // skipped, so a formula no output depends on through a non-zero
    // derivative (say a log(0) only a zero count reads) spreads no NaN.
    void accumulateAdjoints(const double *slots, double *adjoints) const;

private:
    friend class FormulaCompiler;

    struct Run
    {
        FormulaOperation operation;
        int begin; // first instruction
        int end; // one past the last
    };

    bool isVariable(int slot) const { return slot < m_parameterCount || slot >= m_firstInstructionSlot; }

    int m_parameterCount = 0;
    int m_firstInstructionSlot = 0;
    std::vector<double> m_constants; // slots m_parameterCount onwards
    // Operand slots of each instruction; the right one is unused (0) for
    // the unary operations.
    std::vector<int> m_left;
    std::vector<int> m_right;
    std::vector<Run> m_runs;
    std::vector<int> m_outputs;
};

} // namespace pelk
