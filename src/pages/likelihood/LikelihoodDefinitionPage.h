#pragma once
#include "LikelihoodPage.h"
#include <QMap>
namespace pelk {
class ModelDefinition;
}
class LikelihoodDefinitionPage : public LikelihoodPage
{
    Q_OBJECT
public:
    LikelihoodDefinitionPage(PelkWindow *mainWindow, int likelihoodId, pelk::ModelDefinition *model,
                             QMap<QString, int> *categoryCounts);
    QString helpPageName() const override { return "defineLikelihoods.html"; }
signals:
    void textAvailable(QString text);
    void categoryCountsChanged();
    void loadCounts();
};
