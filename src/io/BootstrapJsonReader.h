// Reads back what BootstrapJsonWriter wrote: the defining values and the
// per-replicate rows. The statistics in the document are not read; the
// record recomputes them from its rows, so an edited file cannot carry
// p-values its rows do not give.
#pragma once

#include "estimation/BootstrapResult.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace pelk {

class BootstrapJsonReader
{
public:
    // The result, or none with the reason (without the file name) in `error`.
    static std::optional<BootstrapResult> read(const QByteArray &document, QString &error);
    // The same for a file; `error` then begins with the file's name.
    static std::optional<BootstrapResult> readFile(const QString &fileName, QString &error);
};

} // namespace pelk
