// The parameter estimates and their standard errors sqrt(Sigma_ii).
#pragma once

#include "EstimatesModel.h"

class ParameterEstimatesModel : public EstimatesModel
{
    Q_OBJECT

public:
    ParameterEstimatesModel(const QList<pelk::EstimationSummary::Estimate> &parameters, QObject *parent);
};
