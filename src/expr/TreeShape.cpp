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
        if (const auto *binary = dynamic_cast<const BinaryOperation *>(node)) {
            pending.emplace_back(binary->left(), level + 1);
            pending.emplace_back(binary->right(), level + 1);
        } else if (const auto *unary = dynamic_cast<const UnaryOperation *>(node)) {
            pending.emplace_back(unary->operand(), level + 1);
        } else if (const auto *symbol = dynamic_cast<const Symbol *>(node)) {
            shape.names.push_back({symbol, level});
        }
    }
    return shape;
}

} // namespace zav
