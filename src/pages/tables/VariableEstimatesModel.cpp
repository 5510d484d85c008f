#include "VariableEstimatesModel.h"

// The standard-error header is "s.e", without the final full stop of the
// parameter table's; files exported from this table carry it that way.
VariableEstimatesModel::VariableEstimatesModel(const QList<pelk::EstimationSummary::Estimate> &functions,
                                               QObject *parent)
    : EstimatesModel(functions, QStringLiteral("s.e"), parent)
{}
