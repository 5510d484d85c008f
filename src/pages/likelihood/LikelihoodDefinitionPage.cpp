#include "LikelihoodDefinitionPage.h"
#include "model/ModelDefinition.h"
LikelihoodDefinitionPage::LikelihoodDefinitionPage(PelkWindow *mainWindow, int likelihoodId,
                                                   pelk::ModelDefinition *model, QMap<QString, int> *)
    : LikelihoodPage(mainWindow, likelihoodId, model->likelihoodName(likelihoodId))
{}
