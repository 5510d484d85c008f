// A bootstrap result as the lines pelk-cli prints and the desktop page and
// report show: the replicates (and failures), the seed, the shard when the
// result is one, and for the deviance and Pearson X^2 the observed value,
// the bootstrap p-value and the bootstrap c-hat. Numbers in the general
// format with 6 significant digits, "--na--" for a value that does not exist.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pelk {

struct BootstrapResult;

class BootstrapTextWriter
{
public:
    // (label, value) pairs, in order: the report lays them out as a table.
    static QList<QPair<QString, QString>> rows(const BootstrapResult &result);
    // The rows as "label: value" lines ending in a newline.
    static QString write(const BootstrapResult &result);
};

} // namespace pelk
