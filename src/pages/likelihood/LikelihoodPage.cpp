#include "LikelihoodPage.h"

#include "LikelihoodDefinitionForm.h"
#include "NewLikelihoodDialog.h"
#include "RenameLikelihoodDialog.h"

#include "app/PelkWindow.h"
#include "pages/frame/CaptionedToolBars.h"

#include <QAction>
#include <QFrame>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

LikelihoodPage::LikelihoodPage(PelkWindow *mainWindow, int likelihoodId, const QString &title)
    : PelkContentPage(mainWindow, title), m_likelihoodId(likelihoodId), m_locked(mainWindow->isLocked())
{
    connect(mainWindow, &PelkWindow::lockWorkspace, this, &LikelihoodPage::onLockWorkspace);
    connect(mainWindow, &PelkWindow::clearEstimates, this, &LikelihoodPage::onClearEstimates);
}

void LikelihoodPage::addToolBarsAndForm(QWidget *editor)
{
    m_mathSymbolsToolBar = connectToolBar(mainWindow()->makeMathSymbolsToolBar(this));
    m_parametersToolBar = connectToolBar(mainWindow()->makeParametersToolBar(this));
    m_functionsToolBar = connectToolBar(mainWindow()->makeFunctionsToolBar(this));
    contentLayout()->addWidget(
        new CaptionedToolBars({m_mathSymbolsToolBar, m_parametersToolBar, m_functionsToolBar}, this));

    m_form = new LikelihoodDefinitionForm(this);
    m_form->contentFrame()->layout()->addWidget(editor);
    contentLayout()->addWidget(m_form);
    connect(m_form, &LikelihoodDefinitionForm::newLikelihood, this, &LikelihoodPage::onNewLikelihood);
    connect(m_form, &LikelihoodDefinitionForm::renameLikelihood, this, &LikelihoodPage::onRenameLikelihood);
    connect(m_form, &LikelihoodDefinitionForm::deleteLikelihood, this, &LikelihoodPage::onDeleteLikelihood);
    if (m_locked)
        onLockWorkspace();
    else
        updateDeleteButton();
}

QToolBar *LikelihoodPage::connectToolBar(QToolBar *toolBar)
{
    connect(toolBar, &QToolBar::actionTriggered, this, &LikelihoodPage::toolBarActionTriggered);
    return toolBar;
}

void LikelihoodPage::onPageActivated()
{
    updateDeleteButton();
    if (m_parametersToolBar)
        mainWindow()->fillParametersToolBar(m_parametersToolBar);
    if (m_functionsToolBar)
        mainWindow()->fillFunctionsToolBar(m_functionsToolBar);
}

void LikelihoodPage::updateDeleteButton()
{
    if (m_form)
        m_form->deleteLikelihoodButton()->setEnabled(!m_locked && mainWindow()->likelihoodPages().size() > 1);
}

void LikelihoodPage::toolBarActionTriggered(QAction *action)
{
    emit textAvailable(action->text());
}

void LikelihoodPage::onNewLikelihood()
{
    NewLikelihoodDialog dialog(mainWindow(), this);
    dialog.exec();
}

void LikelihoodPage::onRenameLikelihood()
{
    RenameLikelihoodDialog dialog(mainWindow(), this, this);
    dialog.exec();
}

void LikelihoodPage::onDeleteLikelihood()
{
    // The window deletes this page later, once the slot has returned.
    mainWindow()->deleteLikelihoodPage(this);
}

void LikelihoodPage::onLockWorkspace()
{
    m_locked = true;
    if (!m_form)
        return;
    m_form->newLikelihoodButton()->setEnabled(false);
    m_form->renameLikelihoodButton()->setEnabled(false);
    m_form->deleteLikelihoodButton()->setEnabled(false);
}

void LikelihoodPage::onClearEstimates()
{
    m_locked = false;
    if (!m_form)
        return;
    m_form->newLikelihoodButton()->setEnabled(true);
    m_form->renameLikelihoodButton()->setEnabled(true);
    updateDeleteButton();
}
