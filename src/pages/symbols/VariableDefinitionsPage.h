// The page "Convenience Functions": the table of named formulas of the
// parameters, with the math symbols, parameter names and function names on
// three tool bars; a click inserts the symbol into the definition being
// edited. Syntax errors of a definition and refused names are explained in
// the page's status bar.
#pragma once

#include "pages/frame/PelkContentPage.h"

#include <QPointer>

namespace pelk {
class ModelDefinition;
}
class EquationDelegate;
class QAction;
class QToolBar;
class SymbolNameDelegate;
class VariableDefinitionsModel;
class VariableDefinitionsView;

class VariableDefinitionsPage : public PelkContentPage
{
    Q_OBJECT

public:
    explicit VariableDefinitionsPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "defineConvenienceFunctions.html"; }

    // Shows the functions of this model definition, on a fresh item model
    // (a half-entered function name is dropped).
    void setModelDefinition(pelk::ModelDefinition *model);

    VariableDefinitionsView *view() const { return m_view; }
    VariableDefinitionsModel *definitionsModel() const { return m_definitionsModel; }
    EquationDelegate *equationDelegate() const { return m_equationDelegate; }
    QToolBar *mathSymbolsToolBar() const { return m_mathSymbolsToolBar; }
    QToolBar *parametersToolBar() const { return m_parametersToolBar; }
    QToolBar *functionsToolBar() const { return m_functionsToolBar; }

signals:
    void textAvailable(QString text);

public slots:
    void onVariableInserted(int i, QString name);
    void onVariableRenamed(int i, QString name);
    void onVariableDeleted(int i);
    void onDuplicateSymbolNameError(QString name);
    void onIllegalSymbolNameError(QString name);
    void toolBarActionTriggered(QAction *action);

protected slots:
    // The tool bars show the names of the moment: parameters may have
    // changed on the other page.
    void onPageActivated() override;

private:
    // Symbols clicked on the tool bar become textAvailable().
    QToolBar *connectToolBar(QToolBar *toolBar);

    VariableDefinitionsView *m_view;
    QToolBar *m_mathSymbolsToolBar;
    QToolBar *m_parametersToolBar;
    QToolBar *m_functionsToolBar;
    // The model definition shown; the window may hand the same one over
    // again after a load.
    QPointer<pelk::ModelDefinition> m_modelDefinition;
    VariableDefinitionsModel *m_definitionsModel = nullptr;
    SymbolNameDelegate *m_nameDelegate = nullptr;
    EquationDelegate *m_equationDelegate = nullptr;
};
