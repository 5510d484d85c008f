// The page "Convenience Function Estimates": each convenience function's
// value at the estimates and its delta-method standard error.
#pragma once

#include "TableContentPage.h"

class VariableEstimatesPage : public TableContentPage
{
    Q_OBJECT

public:
    explicit VariableEstimatesPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "resultsTables.html"; }

public slots:
    void onEstimationComplete();
};
