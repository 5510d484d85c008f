#include "ParameterDefinitionsPage.h"

#include "ParameterDefinitionsModel.h"
#include "ParameterDefinitionsView.h"
#include "SymbolNameDelegate.h"

#include "app/PelkWindow.h"

#include <QStatusBar>
#include <QVBoxLayout>

namespace {
constexpr int errorMessageTimeout = 1000; // ms
}

ParameterDefinitionsPage::ParameterDefinitionsPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Parameters")
{
    m_view = new ParameterDefinitionsView(this);
    contentLayout()->addWidget(m_view);
    connect(mainWindow, &PelkWindow::lockWorkspace, m_view, &ParameterDefinitionsView::onLockWorkspace);
    connect(mainWindow, &PelkWindow::clearEstimates, m_view, &ParameterDefinitionsView::onClearEstimates);
}

void ParameterDefinitionsPage::setModelDefinition(pelk::ModelDefinition *model)
{
    ParameterDefinitionsModel *oldModel = m_definitionsModel;
    SymbolNameDelegate *oldDelegate = m_nameDelegate;

    m_definitionsModel = new ParameterDefinitionsModel(model, this);
    m_view->setDefinitionsModel(m_definitionsModel);
    m_nameDelegate = new SymbolNameDelegate(this, "Parameter name, e.g. N or p1");
    m_view->setItemDelegate(m_nameDelegate);
    // The view has let go of the old model's editors; now they can go.
    delete oldModel;
    delete oldDelegate;

    // A new model starts unlocked; a workspace that is still locked keeps
    // it read-only.
    if (mainWindow()->isLocked())
        m_definitionsModel->onLockWorkspace();
    connect(mainWindow(), &PelkWindow::lockWorkspace, m_definitionsModel,
            &ParameterDefinitionsModel::onLockWorkspace);
    connect(mainWindow(), &PelkWindow::clearEstimates, m_definitionsModel,
            &ParameterDefinitionsModel::onClearEstimates);
    connect(m_definitionsModel, &ParameterDefinitionsModel::illegalSymbolNameError, this,
            &ParameterDefinitionsPage::onIllegalSymbolNameError);
    connect(m_definitionsModel, &ParameterDefinitionsModel::duplicateSymbolNameError, this,
            &ParameterDefinitionsPage::onDuplicateSymbolNameError);
    connect(m_definitionsModel, &ParameterDefinitionsModel::multipleAbundanceParametersError, this,
            &ParameterDefinitionsPage::onMultipleAbundanceParametersError);
}

void ParameterDefinitionsPage::onDuplicateSymbolNameError(QString name)
{
    statusBar()->showMessage("Duplicate symbol name \"" + name + "\" entered.", errorMessageTimeout);
}

void ParameterDefinitionsPage::onIllegalSymbolNameError(QString name)
{
    statusBar()->showMessage("Illegal symbol name \"" + name + "\" entered.", errorMessageTimeout);
}

void ParameterDefinitionsPage::onMultipleAbundanceParametersError(QString)
{
    statusBar()->showMessage("Only one abundance parameter allowed.", errorMessageTimeout);
}
