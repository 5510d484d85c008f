#include "expr/TreeShape.h"

#include "expr/BinaryOperation.h"
#include "expr/Symbol.h"
#include "expr/UnaryOperation.h"

#include <algorithm>
#include <utility>

namespace zav {

TreeShape TreeShape::of(const Equation *tree)
{
    TreeShape shape;
    if (!tree)
        return shape;
    // Depth-first with an explicit stack of (node, level).
    std::vector<std::pair<const Equation *, int>> pending {{tree, 1}};
    while (!pending.empty()) {
        const auto [node, level] = pending.back();
        pending.pop_back();
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
            shape.names.push_back({static_cast<const Symbol *>(node), level});
            break;
        case Equation::Kind::Literal:
        case Equation::Kind::Parameter:
            break;
        }
    }
    return shape;
}

} // namespace zav
