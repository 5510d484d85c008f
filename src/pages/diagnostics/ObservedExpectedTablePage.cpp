#include "ObservedExpectedTablePage.h"

#include "ObservedExpectedModel.h"

ObservedExpectedTablePage::ObservedExpectedTablePage(PelkWindow *mainWindow)
    : TableContentPage(mainWindow, QStringLiteral("Observed vs Expected Table"))
{
    setAvailable(false);
}

void ObservedExpectedTablePage::setObservedExpectedModel(ObservedExpectedModel *model)
{
    setModel(model);
}
