// The text of a file PELK is about to parse, read whole and checked first.
// Only a regular file is read: a directory, a device such as /dev/zero or a
// pipe could block the reader or never end. The file is decoded as a text
// stream decodes it (UTF-8 unless a byte-order mark says otherwise), and
// every line end, "\r\n", "\n" or a lone "\r" (old Mac files), becomes "\n",
// so that the line numbers of messages count the lines an editor shows.
#pragma once

#include <QString>

namespace pelk::InputFileText {

// The largest file read: 64 MiB, far above any model PELK can estimate (a
// workspace of 40,000 parameters with seeds and requests is under 2 MiB)
// and small enough to hold in memory at once.
constexpr qint64 maximumBytes = qint64(64) << 20;

// Throws zav::ParseError, without a file name, when the file cannot be
// opened or read, is not a regular file, or is larger than maximumBytes.
QString read(const QString &fileName);

} // namespace pelk::InputFileText
