// Profile-likelihood confidence intervals, one row per requested (symbol,
// alpha level): the estimate, the level, and each limit in fixed notation
// with the decimals the profile search resolved, or "--na--" for a limit
// that was not found. Parameters come first, then convenience functions,
// each by symbol position and level.
#pragma once

#include "ResultTableModel.h"

#include "estimation/EstimationSummary.h"

class ProfileLikelihoodEstimatesModel : public ResultTableModel
{
    Q_OBJECT

public:
    ProfileLikelihoodEstimatesModel(const QList<pelk::EstimationSummary::ProfileInterval> &intervals,
                                    QObject *parent);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;

    // A limit as the table shows it.
    static QString limitText(const std::optional<double> &limit, int displayDigits);

protected:
    QVariant cell(int row, int column) const override;
    QVariant rowHeader(int row) const override;

private:
    QList<pelk::EstimationSummary::ProfileInterval> m_intervals;
};
