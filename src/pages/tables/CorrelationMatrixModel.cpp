#include "CorrelationMatrixModel.h"

#include <algorithm>
#include <cmath>

CorrelationMatrixModel::CorrelationMatrixModel(const QStringList &names, const zav::Matrix &covariance,
                                               QObject *parent)
    : MatrixModel(names, correlation(covariance), parent)
{}

zav::Matrix CorrelationMatrixModel::correlation(const zav::Matrix &covariance)
{
    const int n = std::min(covariance.rows(), covariance.columns());
    zav::Matrix result(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            result(i, j) = covariance(i, j) / (std::sqrt(covariance(j, j)) * std::sqrt(covariance(i, i)));
    return result;
}
