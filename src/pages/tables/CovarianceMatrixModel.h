// The covariance matrix Sigma of the parameter estimates.
#pragma once

#include "MatrixModel.h"

class CovarianceMatrixModel : public MatrixModel
{
    Q_OBJECT

public:
    CovarianceMatrixModel(const QStringList &names, const zav::Matrix &covariance, QObject *parent);
};
