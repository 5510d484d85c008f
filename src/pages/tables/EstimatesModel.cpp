#include "EstimatesModel.h"

EstimatesModel::EstimatesModel(const QList<pelk::EstimationSummary::Estimate> &estimates,
                               const QString &standardErrorHeader, QObject *parent)
    : ResultTableModel({QStringLiteral("Estimate"), standardErrorHeader}, parent), m_estimates(estimates)
{}

int EstimatesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_estimates.size());
}

QVariant EstimatesModel::cell(int row, int column) const
{
    const pelk::EstimationSummary::Estimate &estimate = m_estimates.at(row);
    return column == 0 ? number(estimate.estimate) : number(estimate.standardError);
}

QVariant EstimatesModel::rowHeader(int row) const
{
    return m_estimates.at(row).name;
}
