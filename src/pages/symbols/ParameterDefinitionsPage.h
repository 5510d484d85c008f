// The page "Parameters": the grid of parameter names, where the analyst
// adds, renames and deletes parameters. A refused name is explained in the
// page's status bar for a second.
#pragma once

#include "pages/frame/PelkContentPage.h"

namespace pelk {
class ModelDefinition;
}
class ParameterDefinitionsModel;
class ParameterDefinitionsView;
class SymbolNameDelegate;

class ParameterDefinitionsPage : public PelkContentPage
{
    Q_OBJECT

public:
    explicit ParameterDefinitionsPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "defineParameters.html"; }

    // Shows the parameters of this model definition, on a fresh item model.
    void setModelDefinition(pelk::ModelDefinition *model);

    ParameterDefinitionsView *view() const { return m_view; }
    ParameterDefinitionsModel *definitionsModel() const { return m_definitionsModel; }

public slots:
    void onDuplicateSymbolNameError(QString name);
    void onIllegalSymbolNameError(QString name);
    void onMultipleAbundanceParametersError(QString name);

private:
    ParameterDefinitionsView *m_view;
    ParameterDefinitionsModel *m_definitionsModel = nullptr;
    SymbolNameDelegate *m_nameDelegate = nullptr;
};
