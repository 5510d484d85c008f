// Observed against expected counts for every category of every multinomial
// likelihood, with Anscombe residuals: the table of "Observed vs Expected
// Table" and the points of both diagnostic plots. Columns: "Category",
// "Observed", "Expected", "Anscombe Residual"; rows have no header. The rows
// come computed from the estimation summary. A residual that is not finite
// (an expected count of 0, an abundance below the observed total) shows as
// "--na--".
#pragma once

#include "estimation/ObservedExpected.h"
#include "pages/tables/ResultTableModel.h"

class ObservedExpectedModel : public ResultTableModel
{
    Q_OBJECT

public:
    ObservedExpectedModel(const QList<pelk::ObservedExpectedRow> &rows, QObject *parent);

    const pelk::ObservedExpectedRow &row(int row) const { return m_rows.at(row); }
    // "<label>:  Observed: <O>, Expected: <E>", the tool tip of the row's
    // point in both plots.
    QString pointToolTip(int row) const;

private:
    QList<pelk::ObservedExpectedRow> m_rows;
};
