#include "DiagnosticPlotPage.h"

void DiagnosticPlotPage::setObservedExpectedModel(const ObservedExpectedModel *model)
{
    if (model)
        rebuild(*model);
    setAvailable(true);
}
