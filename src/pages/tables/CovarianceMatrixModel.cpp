#include "CovarianceMatrixModel.h"

CovarianceMatrixModel::CovarianceMatrixModel(const QStringList &names, const zav::Matrix &covariance,
                                             QObject *parent)
    : MatrixModel(names, covariance, parent)
{}
