#include "likelihood/FormulaCompiler.h"

#include "expr/BinaryOperation.h"
#include "expr/Literal.h"
#include "expr/Symbol.h"
#include "expr/UnaryOperation.h"
#include "model/Parameter.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace pelk {

namespace {

using Kind = zav::Equation::Kind;

// The operands of a tree node, in evaluation order; a Symbol's operand is
// its binding.
int operandsOf(const zav::Equation *equation, const zav::Equation *operands[2])
{
    switch (equation->kind()) {
    case Kind::Literal:
    case Kind::Parameter:
        return 0;
    case Kind::Symbol: {
        const zav::Equation *binding = static_cast<const zav::Symbol *>(equation)->binding();
        operands[0] = binding;
        return binding ? 1 : 0;
    }
    case Kind::Exp:
    case Kind::Log:
    case Kind::InvLogit:
    case Kind::Negate:
        operands[0] = static_cast<const zav::UnaryOperation *>(equation)->operand();
        return 1;
    case Kind::Add:
    case Kind::Subtract:
    case Kind::Multiply:
    case Kind::Divide:
    case Kind::Power:
        operands[0] = static_cast<const zav::BinaryOperation *>(equation)->left();
        operands[1] = static_cast<const zav::BinaryOperation *>(equation)->right();
        return 2;
    }
    return 0;
}

// The operations are listed in the same order in both enumerations.
FormulaOperation operationOf(Kind kind)
{
    static_assert(int(Kind::Negate) - int(Kind::Add) == int(FormulaOperation::Negate));
    static_assert(int(Kind::Power) - int(Kind::Add) == int(FormulaOperation::Power));
    static_assert(int(Kind::InvLogit) - int(Kind::Add) == int(FormulaOperation::InvLogit));
    return FormulaOperation(int(kind) - int(Kind::Add));
}

} // namespace

FormulaCompiler::FormulaCompiler(int parameterCount) : m_parameterCount(parameterCount)
{
    for (int i = 0; i < parameterCount; ++i)
        m_nodes.push_back({NodeKind::Parameter, FormulaOperation::Add, i, 0, 0.0});
}

int FormulaCompiler::addOutput(const zav::Equation *root)
{
    m_outputs.push_back(root ? compile(root) : -1);
    return int(m_outputs.size()) - 1;
}

// Post-order walk with an explicit stack of tree nodes and one of the
// nodes built for them: a node is built once its operands' nodes are on
// top of the second stack, in evaluation order.
int FormulaCompiler::compile(const zav::Equation *root)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<Frame> &pending = m_pending;
    std::vector<int> &built = m_built;
    pending.assign(1, {root, false});
    built.clear();
    while (!pending.empty()) {
        const Frame frame = pending.back();
        const zav::Equation *equation = frame.equation;
        const Kind kind = equation->kind();
        if (!frame.expanded) {
            switch (kind) {
            case Kind::Literal:
                pending.pop_back();
                built.push_back(constant(static_cast<const zav::Literal *>(equation)->value()));
                continue;
            case Kind::Parameter: {
                pending.pop_back();
                const int index = static_cast<const Parameter *>(equation)->index();
                built.push_back(index >= 0 && index < m_parameterCount ? index : constant(nan));
                continue;
            }
            case Kind::Symbol: {
                const zav::Equation *binding = static_cast<const zav::Symbol *>(equation)->binding();
                const auto [known, added] = m_bindings.try_emplace(binding, inProgress);
                if (!binding || !added) {
                    pending.pop_back();
                    // Unbound, or a cycle: NaN, as the tree would never end.
                    built.push_back(!binding || known->second == inProgress ? constant(nan) : known->second);
                    continue;
                }
                break;
            }
            default:
                break;
            }
            pending.back().expanded = true;
            const zav::Equation *operands[2] = {nullptr, nullptr};
            for (int i = operandsOf(equation, operands) - 1; i >= 0; --i)
                pending.push_back({operands[i], false});
            continue;
        }
        pending.pop_back();
        if (kind == Kind::Symbol) {
            m_bindings[static_cast<const zav::Symbol *>(equation)->binding()] = built.back();
            continue;
        }
        const int right = built.back();
        if (kind == Kind::Exp || kind == Kind::Log || kind == Kind::InvLogit || kind == Kind::Negate) {
            built.back() = operation(operationOf(kind), right, right);
            continue;
        }
        built.pop_back();
        built.back() = operation(operationOf(kind), built.back(), right);
    }
    return built.back();
}

int FormulaCompiler::constant(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const auto [position, inserted] = m_constants.try_emplace(bits, int(m_nodes.size()));
    if (inserted)
        m_nodes.push_back({NodeKind::Constant, FormulaOperation::Add, 0, 0, value});
    return position->second;
}

int FormulaCompiler::operation(FormulaOperation operation, int left, int right)
{
    const Node &a = m_nodes[std::size_t(left)];
    const Node &b = m_nodes[std::size_t(right)];
    if (a.kind == NodeKind::Constant && b.kind == NodeKind::Constant)
        return constant(applyOperation(operation, a.value, b.value));
    const std::uint64_t key
        = (std::uint64_t(operation) << 60) | (std::uint64_t(left) << 30) | std::uint64_t(right);
    const auto [position, inserted] = m_operations.try_emplace(key, int(m_nodes.size()));
    if (inserted)
        m_nodes.push_back({NodeKind::Operation, operation, left, right, 0.0});
    return position->second;
}

// Slots: parameters, constants, then the operations sorted by level (one
// more than their deepest operand) and, within a level, by operation. Two
// operations of one level never read each other, so each (level, operation)
// group is a run the program evaluates in one loop.
FormulaProgram FormulaCompiler::program() const
{
    FormulaProgram program;
    program.m_parameterCount = m_parameterCount;
    std::vector<int> slotOf(m_nodes.size(), -1);
    for (int i = 0; i < m_parameterCount; ++i)
        slotOf[std::size_t(i)] = i;
    int nextSlot = m_parameterCount;
    for (std::size_t id = 0; id < m_nodes.size(); ++id)
        if (m_nodes[id].kind == NodeKind::Constant) {
            program.m_constants.push_back(m_nodes[id].value);
            slotOf[id] = nextSlot++;
        }
    program.m_firstInstructionSlot = nextSlot;

    // Operands are built before the nodes that read them, so one pass in
    // node order finds every level.
    std::vector<int> level(m_nodes.size(), 0);
    std::vector<int> operations;
    for (std::size_t id = 0; id < m_nodes.size(); ++id) {
        const Node &node = m_nodes[id];
        if (node.kind != NodeKind::Operation)
            continue;
        level[id] = 1 + std::max(level[std::size_t(node.left)], level[std::size_t(node.right)]);
        operations.push_back(int(id));
    }
    std::stable_sort(operations.begin(), operations.end(), [&](int x, int y) {
        const auto keyX = std::make_pair(level[std::size_t(x)], int(m_nodes[std::size_t(x)].operation));
        const auto keyY = std::make_pair(level[std::size_t(y)], int(m_nodes[std::size_t(y)].operation));
        return keyX < keyY;
    });
    for (int id : operations)
        slotOf[std::size_t(id)] = nextSlot++;
    for (std::size_t k = 0; k < operations.size(); ++k) {
        const Node &node = m_nodes[std::size_t(operations[k])];
        program.m_left.push_back(slotOf[std::size_t(node.left)]);
        program.m_right.push_back(slotOf[std::size_t(node.right)]);
        const bool sameRun = !program.m_runs.empty() && program.m_runs.back().operation == node.operation
                          && level[std::size_t(operations[k - 1])] == level[std::size_t(operations[k])];
        if (sameRun)
            ++program.m_runs.back().end;
        else
            program.m_runs.push_back({node.operation, int(k), int(k) + 1});
    }
    for (int node : m_outputs)
        program.m_outputs.push_back(node < 0 ? -1 : slotOf[std::size_t(node)]);
    return program;
}

} // namespace pelk
