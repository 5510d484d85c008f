// Writes a text file so that it is either whole or untouched: the text goes
// to a temporary file beside the target, which replaces the target only
// when everything was written. A failed save never leaves a truncated file
// behind, nor damages an earlier file of that name.
#pragma once

#include <QString>

#include <functional>

class QTextStream;

namespace pelk {

// False when the file could not be opened, written or put in place.
bool writeTextFile(const QString &fileName, const std::function<void(QTextStream &)> &write);

} // namespace pelk
