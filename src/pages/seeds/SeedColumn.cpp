#include "SeedColumn.h"

#include <QStringList>

#include <cmath>

std::optional<QList<double>> readSeedColumn(const QString &text, int parameterCount)
{
    const QStringList lines = text.split(u'\n', Qt::KeepEmptyParts);
    QList<double> values;
    for (qsizetype i = 0; values.size() < parameterCount && i < lines.size(); ++i) {
        // QString's conversion ignores surrounding white space, such as the
        // carriage return of a line copied on Windows.
        bool ok = false;
        const double value = lines.at(i).toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return std::nullopt;
        values.append(value);
    }
    return values;
}
