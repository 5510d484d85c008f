// The parameter names of a summary, in parameter order: the headers of the
// covariance and correlation tables.
#pragma once

#include "estimation/EstimationSummary.h"

#include <QStringList>

inline QStringList parameterNames(const pelk::EstimationSummary &summary)
{
    QStringList names;
    for (const pelk::EstimationSummary::Estimate &parameter : summary.parameters)
        names << parameter.name;
    return names;
}
