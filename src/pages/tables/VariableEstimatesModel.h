// The convenience functions at the estimates and their delta-method
// standard errors.
#pragma once

#include "EstimatesModel.h"

class VariableEstimatesModel : public EstimatesModel
{
    Q_OBJECT

public:
    VariableEstimatesModel(const QList<pelk::EstimationSummary::Estimate> &functions, QObject *parent);
};
