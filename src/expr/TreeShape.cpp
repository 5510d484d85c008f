#include "expr/TreeShape.h"

#include "expr/BinaryOperation.h"
#include "expr/Symbol.h"
#include "expr/UnaryOperation.h"

#include <QVarLengthArray>

#include <algorithm>
#include <utility>

namespace zav {

TreeShape TreeShape::of(const Equation *tree)
{
    TreeShape shape;
    if (!tree)
        return shape;
    // Depth-first with an explicit stack of (node, level). A validation
    // measures every formula of a model, so the walk keeps its stack and
    // the names it meets on the C++ stack and stores the names once.
    QVarLengthArray<std::pair<const Equation *, int>, 64> pending {{tree, 1}};
    QVarLengthArray<Name, 64> names;
    while (!pending.isEmpty()) {
        const auto [node, level] = pending.back();
        pending.removeLast();
        shape.nodeCount += 1.0;
        shape.depth = std::max(shape.depth, level);
        switch (node->kind()) {
        case Equation::Kind::Add:
        case Equation::Kind::Subtract:
        case Equation::Kind::Multiply:
        case Equation::Kind::Divide:
        case Equation::Kind::Power: {
            const auto *binary = static_cast<const BinaryOperation *>(node);
            pending.emplace_back(binary->left(), level + 1);
            pending.emplace_back(binary->right(), level + 1);
            break;
        }
        case Equation::Kind::Exp:
        case Equation::Kind::Log:
        case Equation::Kind::InvLogit:
        case Equation::Kind::Negate:
            pending.emplace_back(static_cast<const UnaryOperation *>(node)->operand(), level + 1);
            break;
        case Equation::Kind::Symbol:
            names.append(Name {static_cast<const Symbol *>(node), level});
            break;
        case Equation::Kind::Literal:
        case Equation::Kind::Parameter:
            break;
        }
    }
    shape.names.assign(names.cbegin(), names.cend());
    return shape;
}

} // namespace zav
