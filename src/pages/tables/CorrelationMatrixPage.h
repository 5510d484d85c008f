// The page "Correlation Matrix": the correlations of the parameter estimates;
// an empty table when the run did not estimate a covariance matrix.
#pragma once

#include "TableContentPage.h"

class CorrelationMatrixPage : public TableContentPage
{
    Q_OBJECT

public:
    explicit CorrelationMatrixPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "resultsTables.html"; }

public slots:
    void onEstimationComplete();
};
