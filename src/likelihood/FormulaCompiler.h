// Builds a FormulaProgram from bound formula trees.
//
// Each output is the root of one tree. While compiling:
// - a Symbol is its binding (the root of a convenience function), so a
//   function read by a thousand categories is computed once;
// - structurally equal subtrees share one instruction across all outputs
//   (the same operation on the same operand slots): invLogit(b3) and 1 - p3
//   once each, and the left-associative products of capture histories share
//   their common prefixes;
// - an operation whose operands are all constants is folded into a
//   constant, with the same arithmetic the program would use.
// Nothing is reordered inside a formula and no algebra is applied, so every
// output keeps the tree's operations in the tree's order.
//
// The walk is iterative: formula trees may be thousands of levels deep.
// An unbound Symbol is NaN, as in the tree; a Symbol whose binding leads
// back to itself (never in a validated model) also compiles to NaN instead
// of looping.
#pragma once

#include "likelihood/FormulaProgram.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace zav {
class Equation;
}

namespace pelk {

class FormulaCompiler
{
public:
    explicit FormulaCompiler(int parameterCount);

    // Adds the tree (null for a missing formula) as the next output and
    // returns the output's index.
    int addOutput(const zav::Equation *root);

    // The program of every output added so far.
    FormulaProgram program() const;

private:
    enum class NodeKind : std::uint8_t { Parameter, Constant, Operation };
    struct Node
    {
        NodeKind kind;
        FormulaOperation operation; // for Operation
        int left; // operand nodes for Operation; the index for Parameter
        int right;
        double value; // for Constant
    };

    // A tree node waiting in compile(), and whether its operands are
    // pending above it.
    struct Frame
    {
        const zav::Equation *equation;
        bool expanded;
    };

    int compile(const zav::Equation *root);
    int constant(double value);
    int operation(FormulaOperation operation, int left, int right);

    int m_parameterCount;
    std::vector<Node> m_nodes;
    std::vector<int> m_outputs; // node per output, -1 for none
    // Node of each convenience function compiled (by the root its Symbols
    // are bound to), or inProgress while it is being compiled: reaching it
    // again then means a cycle. Only a binding can be reached twice: every
    // other node has one parent.
    static constexpr int inProgress = -1;
    std::unordered_map<const zav::Equation *, int> m_bindings;
    std::unordered_map<std::uint64_t, int> m_constants; // by bit pattern: -0 and 0 differ
    // By operation and operand nodes, packed as 4 + 30 + 30 bits.
    std::unordered_map<std::uint64_t, int> m_operations;
    // compile()'s two stacks, kept between outputs: a model adds one
    // output per category.
    std::vector<Frame> m_pending;
    std::vector<int> m_built;
};

} // namespace pelk
