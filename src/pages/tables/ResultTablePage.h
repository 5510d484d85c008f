// The pages under "View the Estimates" that each show one table of the last
// run: the parameter estimates, the convenience function estimates, the
// profile-likelihood intervals, the model's statistics (sample size,
// information criteria, goodness of fit), and the covariance and
// correlation matrices of the parameter estimates. They differ only in
// their title and in the table they make from the estimation summary;
// kinds() lists the six in
// the order the navigation panel shows them. A page makes its table when an
// estimation completes and lets it go when the estimates are cleared.
#pragma once

#include "TableContentPage.h"

#include <QList>

class ResultTableModel;

namespace pelk {
struct EstimationSummary;
}

class ResultTablePage : public TableContentPage
{
    Q_OBJECT

public:
    struct Kind
    {
        QString title;
        // The table of a summary, owned by the caller; null (an empty table)
        // when the run did not compute what the table shows.
        ResultTableModel *(*table)(const pelk::EstimationSummary &summary);
    };
    static const QList<Kind> &kinds();

    ResultTablePage(PelkWindow *mainWindow, const Kind &kind);
    QString helpPageName() const override { return QStringLiteral("resultsTables.html"); }

private:
    void onEstimationComplete();

    decltype(Kind::table) m_table;
};
