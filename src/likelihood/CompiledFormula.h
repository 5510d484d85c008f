// One formula tree (a convenience function) compiled into a FormulaProgram
// of its own: its value and exact gradient by the parameters at any point,
// without touching the tree. A copy shares the immutable program and has
// its own working slots, so copies may run on several threads at once.
#pragma once

#include "likelihood/FormulaProgram.h"

#include <memory>
#include <vector>

namespace zav {
class Equation;
}

namespace pelk {

class CompiledFormula
{
public:
    // The tree must be bound (a validated model's); parameter i is x[i].
    CompiledFormula(const zav::Equation &formula, int parameterCount);

    double value(const std::vector<double> &x);
    // The value and, in `gradient` (resized to the number of parameters),
    // its partial derivatives.
    double valueAndGradient(const std::vector<double> &x, std::vector<double> &gradient);

private:
    std::shared_ptr<const FormulaProgram> m_program;
    std::vector<double> m_slots;
    std::vector<double> m_adjoints;
};

} // namespace pelk
