// The method keywords of the optimizer section, "powell", "fletch" and
// "simplex"; the command line takes the same words.
#pragma once

#include "optim/OptimizerFactory.h"

#include <QString>

#include <optional>

namespace pelk {

// The method a keyword names, or nothing for any other word.
std::optional<zav::OptimizerFactory::OptimizerType> optimizerTypeForKeyword(const QString &keyword);
// The keyword of a method; empty for NoOptimizer.
QString optimizerKeyword(zav::OptimizerFactory::OptimizerType type);

} // namespace pelk
