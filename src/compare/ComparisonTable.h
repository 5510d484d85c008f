// The table of a model comparison as cells: a header and one row per model
// in rank order. The text output, the CSV export and the desktop dialog all
// show these cells, so they cannot disagree. Numbers are in the general
// format with the given significant digits (6 for display, 12 for files);
// a value that does not exist is "--na--".
#pragma once

#include <QList>
#include <QStringList>

#include <optional>

namespace pelk {

class ModelComparison;

class ComparisonTable
{
public:
    static QList<QStringList> rows(const ModelComparison &comparison, int digits);
    // One number as the cells show it.
    static QString number(const std::optional<double> &value, int digits = 6);
    // The rows as comma-separated text, 12 digits, names quoted.
    static QString csv(const ModelComparison &comparison);
};

} // namespace pelk
