#include "expr/NumberText.h"

#include <cmath>

namespace zav {

std::optional<double> toFiniteDouble(const QString &text)
{
    // The only texts starting with a letter that QString::toDouble reads
    // are "inf" and "nan", which are not finite: a name is refused without
    // the conversion, which is most of the cost of reading a formula.
    if (!text.isEmpty() && (text.front().isLetter() || text.front() == u'_'))
        return std::nullopt;
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
