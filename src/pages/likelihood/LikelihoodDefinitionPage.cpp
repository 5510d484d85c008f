#include "LikelihoodDefinitionPage.h"

#include "CategoryCountsDelegate.h"
#include "CategoryLabelDelegate.h"
#include "LikelihoodDefinitionForm.h"
#include "LikelihoodDefinitionModel.h"
#include "LikelihoodDefinitionView.h"

#include "app/PelkWindow.h"
#include "model/ModelDefinition.h"
#include "pages/equation/EquationDelegate.h"

#include <QStatusBar>

namespace {
constexpr int errorMessageTimeout = 1000; // ms
}

LikelihoodDefinitionPage::LikelihoodDefinitionPage(PelkWindow *mainWindow, int likelihoodId,
                                                   pelk::ModelDefinition *model,
                                                   QMap<QString, int> *categoryCounts)
    : LikelihoodPage(mainWindow, likelihoodId, model->likelihoodName(likelihoodId))
{
    m_definitionModel = new LikelihoodDefinitionModel(likelihoodId, model, categoryCounts, this);
    connect(mainWindow, &PelkWindow::lockWorkspace, m_definitionModel,
            &LikelihoodDefinitionModel::onLockWorkspace);
    connect(mainWindow, &PelkWindow::clearEstimates, m_definitionModel,
            &LikelihoodDefinitionModel::onClearEstimates);
    if (mainWindow->isLocked())
        m_definitionModel->onLockWorkspace();

    connect(mainWindow, &PelkWindow::categoryCountsLoaded, m_definitionModel,
            &LikelihoodDefinitionModel::onCategoryCountsLoaded);
    connect(m_definitionModel, &LikelihoodDefinitionModel::categoryCountsChanged, this,
            &LikelihoodDefinitionPage::categoryCountsChanged);
    connect(m_definitionModel, &LikelihoodDefinitionModel::unobservedCategoryDeleted, this,
            &LikelihoodPage::definitionChanged);

    m_view = new LikelihoodDefinitionView(m_definitionModel);
    connect(mainWindow, &PelkWindow::clearEstimates, m_view, &LikelihoodDefinitionView::onClearEstimates);
    connect(mainWindow, &PelkWindow::lockWorkspace, m_view, &LikelihoodDefinitionView::onLockWorkspace);
    if (mainWindow->isLocked())
        m_view->onLockWorkspace();

    connect(m_definitionModel, &LikelihoodDefinitionModel::duplicateCategoryLabelError, this,
            &LikelihoodDefinitionPage::onDuplicateCategoryLabelError);
    connect(m_definitionModel, &LikelihoodDefinitionModel::illegalCategoryLabelError, this,
            &LikelihoodDefinitionPage::onIllegalCategoryLabelError);
    connect(m_definitionModel, &LikelihoodDefinitionModel::illegalCountsError, this,
            &LikelihoodDefinitionPage::onIllegalCountsError);

    m_labelDelegate = new CategoryLabelDelegate(this, "Category label, e.g. 10");
    m_equationDelegate = new EquationDelegate(this, "Probability formula, e.g. p*(1-q)");
    m_countsDelegate = new CategoryCountsDelegate(this, "Observed count, e.g. 40");
    m_view->setItemDelegateForColumn(LikelihoodDefinitionModel::LabelColumn, m_labelDelegate);
    m_view->setItemDelegateForColumn(LikelihoodDefinitionModel::ProbabilityColumn, m_equationDelegate);
    m_view->setItemDelegateForColumn(LikelihoodDefinitionModel::CountsColumn, m_countsDelegate);
    // A parse error stays shown until the next successful commit clears it.
    connect(m_equationDelegate, &EquationDelegate::validationError, statusBar(),
            [bar = statusBar()](const QString &message) { bar->showMessage(message); });
    connect(m_equationDelegate, &EquationDelegate::validationOK, statusBar(), &QStatusBar::clearMessage);

    connect(this, &LikelihoodPage::textAvailable, m_equationDelegate, &EquationDelegate::insertText);

    addToolBarsAndForm(m_view);
    connect(form(), &LikelihoodDefinitionForm::loadCounts, this, &LikelihoodDefinitionPage::loadCounts);
}

void LikelihoodDefinitionPage::onDuplicateCategoryLabelError(QString label)
{
    statusBar()->showMessage("Duplicate category label \"" + label + "\" used.", errorMessageTimeout);
}

void LikelihoodDefinitionPage::onIllegalCategoryLabelError(QString label)
{
    statusBar()->showMessage("Illegal category label \"" + label + "\".", errorMessageTimeout);
}

void LikelihoodDefinitionPage::onIllegalCountsError(QString countsText)
{
    statusBar()->showMessage("Illegal counts \"" + countsText + "\".", errorMessageTimeout);
}
