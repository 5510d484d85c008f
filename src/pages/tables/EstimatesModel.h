// Estimates with their standard errors, one row per symbol named in the
// row header: column 0 the estimate, column 1 the standard error, or
// "--na--" where none exists (no covariance matrix, or a variance that
// could not be computed).
#pragma once

#include "ResultTableModel.h"

#include "estimation/EstimationSummary.h"

class EstimatesModel : public ResultTableModel
{
    Q_OBJECT

public:
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;

protected:
    EstimatesModel(const QList<pelk::EstimationSummary::Estimate> &estimates,
                   const QString &standardErrorHeader, QObject *parent);

    QVariant cell(int row, int column) const override;
    QVariant rowHeader(int row) const override;

private:
    QList<pelk::EstimationSummary::Estimate> m_estimates;
};
