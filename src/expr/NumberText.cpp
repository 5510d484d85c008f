#include "expr/NumberText.h"

#include <algorithm>
#include <cmath>

namespace zav {

std::optional<double> toFiniteDouble(QStringView text)
{
    // The only texts starting with a letter that QStringView::toDouble reads
    // are "inf" and "nan", which are not finite: a name is refused without
    // the conversion, which is most of the cost of reading a formula.
    if (!text.isEmpty() && (text.front().isLetter() || text.front() == u'_'))
        return std::nullopt;
    // A whole number of up to 15 digits ("1" of every 1 - p) is exact in a
    // double: the same value as the conversion gives, for less.
    if (!text.isEmpty() && text.size() <= 15
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        double value = 0.0;
        for (QChar c : text)
            value = value * 10.0 + (c.unicode() - u'0');
        return value;
    }
    bool ok = false;
    const double value = text.toDouble(&ok); // QStringView::toDouble uses the C locale
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
