// Conversion of number text in formulas and files. The C locale is used
// whatever the desktop's locale, so a file reads the same everywhere.
#pragma once

#include <QString>

#include <optional>

namespace zav {

// The whole text as a finite double (2, 0.5, .5, 1e5, 2.5E3, -0.5). Textual
// forms such as "inf" and "nan", and values that overflow, are refused: in a
// formula such a word stays a name, and in a file it is reported as an
// illegal value instead of entering an estimate as an infinity.
std::optional<double> toFiniteDouble(QStringView text);

// The whole text as an int (decimal, optional sign).
std::optional<int> toInt(const QString &text);

} // namespace zav
