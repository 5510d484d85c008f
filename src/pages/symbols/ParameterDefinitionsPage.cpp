#include "ParameterDefinitionsPage.h"

ParameterDefinitionsPage::ParameterDefinitionsPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Parameters")
{}
void ParameterDefinitionsPage::setModelDefinition(pelk::ModelDefinition *) {}
