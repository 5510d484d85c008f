#include "ProfileLikelihoodEstimatesModel.h"

#include "io/SummaryTextWriter.h"

#include "model/ProfileLikelihoods.h"

#include <algorithm>
#include <cmath>

ProfileLikelihoodEstimatesModel::ProfileLikelihoodEstimatesModel(
    const QList<pelk::EstimationSummary::ProfileInterval> &intervals, QObject *parent)
    : ResultTableModel({QStringLiteral("Estimate"), QStringLiteral("Alpha"), QStringLiteral("Lower Bound"),
                        QStringLiteral("Upper Bound")},
                       parent),
      m_intervals(intervals)
{}

int ProfileLikelihoodEstimatesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_intervals.size());
}

QString ProfileLikelihoodEstimatesModel::limitText(const std::optional<double> &limit, int displayDigits)
{
    return pelk::SummaryTextWriter::profileLimit(limit, displayDigits);
}

QVariant ProfileLikelihoodEstimatesModel::cell(int row, int column) const
{
    const pelk::EstimationSummary::ProfileInterval &interval = m_intervals.at(row);
    switch (column) {
    case 0:
        return number(interval.estimate);
    case 1:
        return pelk::ProfileLikelihoods::alphaLevels().value(interval.alphaIndex);
    case 2:
        return limitText(interval.lower, interval.displayDigits);
    default:
        return limitText(interval.upper, interval.displayDigits);
    }
}

QVariant ProfileLikelihoodEstimatesModel::rowHeader(int row) const
{
    return m_intervals.at(row).symbol;
}
