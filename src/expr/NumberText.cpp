#include "expr/NumberText.h"

#include <cmath>

namespace zav {

std::optional<double> toFiniteDouble(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok); // QString::toDouble uses the C locale
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> toInt(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace zav
