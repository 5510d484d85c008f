// A column of seeds pasted from a spreadsheet: one number per line, read
// in order until every parameter has one. Lines beyond the parameters are
// ignored; parameters without a line keep their seeds.
#pragma once

#include <QList>
#include <QString>

#include <optional>

// The values for the first parameters, or none when a line that is read
// is not a finite number. The empty part after a final line feed counts as
// a line, so it is only read (and then refused) when there are more
// parameters than numbers.
std::optional<QList<double>> readSeedColumn(const QString &text, int parameterCount);
