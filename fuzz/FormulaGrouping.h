// A formula tree written back as text that the parser reads to the same
// tree: every operation in parentheses (toString drops the grouping) and
// every number with all the digits of its double, in fixed notation (the
// formula tokenizer splits "1e-07" at its "-"). Used by the formula fuzz
// target to check that what parses keeps its shape when read again.
#pragma once

#include <QString>

namespace zav {
class Equation;
}

namespace pelkfuzz {

QString groupedText(const zav::Equation &node);

} // namespace pelkfuzz
