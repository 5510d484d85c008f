// The size and depth of one formula tree, and where its names stand,
// measured without recursion and without following Symbol bindings.
//
// Validation combines the shapes of a model's formulas along the bindings
// (a convenience function used in a formula adds its own tree below the
// name) to refuse models whose formulas, written out, are too deep for the
// recursive tree walks or too large to evaluate: chains of functions each
// near the parser's depth limit, or v1 = v0*v0, v2 = v1*v1, ..., whose
// written-out size doubles with every function.
#pragma once

#include <vector>

namespace zav {

class Equation;
class Symbol;

struct TreeShape
{
    struct Name
    {
        const Symbol *symbol;
        int level; // the root stands at level 1
    };

    double nodeCount = 0.0; // a double: sums of shapes along bindings overflow an int
    int depth = 0; // levels from the root to the deepest leaf; 0 for no tree
    std::vector<Name> names; // every Symbol node, in no particular order

    // The shape of `tree` (null gives the empty shape).
    static TreeShape of(const Equation *tree);
};

} // namespace zav
