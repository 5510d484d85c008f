// The page "Observed vs Expected Table": the diagnostics table, with the
// exports every result table offers.
#pragma once

#include "pages/tables/TableContentPage.h"

class ObservedExpectedModel;

class ObservedExpectedTablePage : public TableContentPage
{
    Q_OBJECT

public:
    explicit ObservedExpectedTablePage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "viewObservedExpectedTable.html"; }

    // Shows the model of the completed estimation and takes ownership.
    void setObservedExpectedModel(ObservedExpectedModel *model);
};
