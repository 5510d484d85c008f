#include "io/OptimizerKeyword.h"

namespace pelk {

using Factory = zav::OptimizerFactory;

std::optional<Factory::OptimizerType> optimizerTypeForKeyword(const QString &keyword)
{
    for (const auto type : {Factory::Powell, Factory::Fletch, Factory::Simplex})
        if (keyword == optimizerKeyword(type))
            return type;
    return std::nullopt;
}

QString optimizerKeyword(Factory::OptimizerType type)
{
    switch (type) {
    case Factory::Powell:
        return QStringLiteral("powell");
    case Factory::Fletch:
        return QStringLiteral("fletch");
    case Factory::Simplex:
        return QStringLiteral("simplex");
    case Factory::NoOptimizer:
        break;
    }
    return QString();
}

} // namespace pelk
