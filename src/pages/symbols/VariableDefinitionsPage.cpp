#include "VariableDefinitionsPage.h"

#include "SymbolNameDelegate.h"
#include "VariableDefinitionsModel.h"
#include "VariableDefinitionsView.h"

#include "app/PelkWindow.h"
#include "model/ModelDefinition.h"
#include "pages/equation/EquationDelegate.h"
#include "pages/frame/CaptionedToolBars.h"

#include <QAction>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
constexpr int errorMessageTimeout = 1000; // ms
}

VariableDefinitionsPage::VariableDefinitionsPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Convenience Functions")
{
    m_view = new VariableDefinitionsView(this);
    connect(mainWindow, &PelkWindow::lockWorkspace, m_view, &VariableDefinitionsView::onLockWorkspace);
    connect(mainWindow, &PelkWindow::clearEstimates, m_view, &VariableDefinitionsView::onClearEstimates);

    m_mathSymbolsToolBar = connectToolBar(mainWindow->makeMathSymbolsToolBar(this));
    m_parametersToolBar = connectToolBar(mainWindow->makeParametersToolBar(this));
    m_functionsToolBar = connectToolBar(mainWindow->makeFunctionsToolBar(this));
    contentLayout()->addWidget(
        new CaptionedToolBars({m_mathSymbolsToolBar, m_parametersToolBar, m_functionsToolBar}, this));
    contentLayout()->addWidget(m_view);
}

QToolBar *VariableDefinitionsPage::connectToolBar(QToolBar *toolBar)
{
    connect(toolBar, &QToolBar::actionTriggered, this, &VariableDefinitionsPage::toolBarActionTriggered);
    return toolBar;
}

void VariableDefinitionsPage::setModelDefinition(pelk::ModelDefinition *model)
{
    if (m_modelDefinition)
        disconnect(m_modelDefinition, nullptr, this, nullptr);
    m_modelDefinition = model;
    VariableDefinitionsModel *oldModel = m_definitionsModel;
    SymbolNameDelegate *oldNameDelegate = m_nameDelegate;
    EquationDelegate *oldEquationDelegate = m_equationDelegate;

    m_definitionsModel = new VariableDefinitionsModel(model, this);
    m_view->setDefinitionsModel(m_definitionsModel);
    m_nameDelegate = new SymbolNameDelegate(this, "Function name, e.g. detection");
    m_equationDelegate = new EquationDelegate(this, "Formula of the parameters, e.g. 1-(1-p1)*(1-p2)");
    m_view->setItemDelegateForColumn(VariableDefinitionsModel::NameColumn, m_nameDelegate);
    m_view->setItemDelegateForColumn(VariableDefinitionsModel::DefinitionColumn, m_equationDelegate);
    // The view has let go of the old model's editors; now they can go.
    delete oldModel;
    delete oldNameDelegate;
    delete oldEquationDelegate;

    if (mainWindow()->isLocked())
        m_definitionsModel->onLockWorkspace();
    connect(mainWindow(), &PelkWindow::lockWorkspace, m_definitionsModel,
            &VariableDefinitionsModel::onLockWorkspace);
    connect(mainWindow(), &PelkWindow::clearEstimates, m_definitionsModel,
            &VariableDefinitionsModel::onClearEstimates);
    connect(m_definitionsModel, &VariableDefinitionsModel::illegalSymbolNameError, this,
            &VariableDefinitionsPage::onIllegalSymbolNameError);
    connect(m_definitionsModel, &VariableDefinitionsModel::duplicateSymbolNameError, this,
            &VariableDefinitionsPage::onDuplicateSymbolNameError);
    connect(model, &pelk::ModelDefinition::variableInserted, this,
            &VariableDefinitionsPage::onVariableInserted);
    connect(model, &pelk::ModelDefinition::variableRenamed, this,
            &VariableDefinitionsPage::onVariableRenamed);
    connect(model, &pelk::ModelDefinition::variableDeleted, this,
            &VariableDefinitionsPage::onVariableDeleted);
    // A parse error stays shown until the next successful commit clears it.
    connect(m_equationDelegate, &EquationDelegate::validationError, statusBar(),
            [bar = statusBar()](const QString &message) { bar->showMessage(message); });
    connect(m_equationDelegate, &EquationDelegate::validationOK, statusBar(), &QStatusBar::clearMessage);
    connect(this, &VariableDefinitionsPage::textAvailable, m_equationDelegate, &EquationDelegate::insertText);

    // The functions tool bar follows the model definition from here on
    // through the signals above; start it from the new model's names.
    mainWindow()->fillFunctionsToolBar(m_functionsToolBar);
    mainWindow()->fillParametersToolBar(m_parametersToolBar);
}

void VariableDefinitionsPage::onPageActivated()
{
    mainWindow()->fillParametersToolBar(m_parametersToolBar);
    mainWindow()->fillFunctionsToolBar(m_functionsToolBar);
}

void VariableDefinitionsPage::toolBarActionTriggered(QAction *action)
{
    emit textAvailable(action->text());
}

void VariableDefinitionsPage::onVariableInserted(int i, QString name)
{
    const QList<QAction *> actions = m_functionsToolBar->actions();
    auto *action = new QAction(name, m_functionsToolBar);
    if (i < actions.size())
        m_functionsToolBar->insertAction(actions.at(i), action);
    else
        m_functionsToolBar->addAction(action);
}

void VariableDefinitionsPage::onVariableRenamed(int i, QString name)
{
    const QList<QAction *> actions = m_functionsToolBar->actions();
    if (i >= 0 && i < actions.size())
        actions.at(i)->setText(name);
}

void VariableDefinitionsPage::onVariableDeleted(int i)
{
    const QList<QAction *> actions = m_functionsToolBar->actions();
    if (i >= 0 && i < actions.size()) {
        m_functionsToolBar->removeAction(actions.at(i));
        delete actions.at(i);
    }
}

void VariableDefinitionsPage::onDuplicateSymbolNameError(QString name)
{
    statusBar()->showMessage("Duplicate Symbol Name \"" + name + "\"", errorMessageTimeout);
}

void VariableDefinitionsPage::onIllegalSymbolNameError(QString name)
{
    statusBar()->showMessage("Illegal Symbol Name \"" + name + "\"", errorMessageTimeout);
}
