// The correlation matrix of the parameter estimates,
//   rho_ij = Sigma_ij / (sqrt(Sigma_jj) sqrt(Sigma_ii)).
// A parameter whose variance is 0 or negative has no correlations: its row
// and column show "--na--".
#pragma once

#include "MatrixModel.h"

class CorrelationMatrixModel : public MatrixModel
{
    Q_OBJECT

public:
    CorrelationMatrixModel(const QStringList &names, const zav::Matrix &covariance, QObject *parent);

    static zav::Matrix correlation(const zav::Matrix &covariance);
};
