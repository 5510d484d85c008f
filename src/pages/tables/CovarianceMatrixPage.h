// The page "Covariance Matrix": the covariance matrix of the parameter
// estimates; an empty table when the run did not estimate one.
#pragma once

#include "TableContentPage.h"

class CovarianceMatrixPage : public TableContentPage
{
    Q_OBJECT

public:
    explicit CovarianceMatrixPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "resultsTables.html"; }

public slots:
    void onEstimationComplete();
};
