#include "VariableDefinitionsPage.h"

VariableDefinitionsPage::VariableDefinitionsPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Convenience Functions")
{}
void VariableDefinitionsPage::setModelDefinition(pelk::ModelDefinition *) {}
