#include "ParameterEstimatesModel.h"

ParameterEstimatesModel::ParameterEstimatesModel(const QList<pelk::EstimationSummary::Estimate> &parameters,
                                                 QObject *parent)
    : EstimatesModel(parameters, QStringLiteral("s.e."), parent)
{}
