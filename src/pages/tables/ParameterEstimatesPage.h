// The page "Parameter Estimates": each parameter's estimate and standard
// error.
#pragma once

#include "TableContentPage.h"

class ParameterEstimatesPage : public TableContentPage
{
    Q_OBJECT

public:
    explicit ParameterEstimatesPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "resultsTables.html"; }

public slots:
    void onEstimationComplete();
};
