// What the pages of a likelihood share, whatever its kind: the likelihood
// they edit (by its id in the model definition, which is never reused), its
// name as the page title, the three symbol tool bars that insert names into
// the formula being edited, and the New / Rename / Delete likelihood
// buttons, which the workspace lock disables.
#pragma once

#include "pages/frame/PelkContentPage.h"

class LikelihoodDefinitionForm;
class QAction;
class QToolBar;

class LikelihoodPage : public PelkContentPage
{
    Q_OBJECT

public:
    LikelihoodPage(PelkWindow *mainWindow, int likelihoodId, const QString &title);

    int likelihoodId() const { return m_likelihoodId; }

    LikelihoodDefinitionForm *form() const { return m_form; }
    QToolBar *mathSymbolsToolBar() const { return m_mathSymbolsToolBar; }
    QToolBar *parametersToolBar() const { return m_parametersToolBar; }
    QToolBar *functionsToolBar() const { return m_functionsToolBar; }

signals:
    // The text of a tool bar button the analyst clicked, for the formula
    // being edited.
    void textAvailable(QString text);
    // An edit of this likelihood that the model definition does not announce
    // itself (removing the unobserved category, a normal likelihood's
    // formulas); the main window marks the workspace changed on it.
    void definitionChanged();

public slots:
    void toolBarActionTriggered(QAction *action);
    void onNewLikelihood();
    void onRenameLikelihood();
    void onDeleteLikelihood();
    // Beside the lock banner of every page: the likelihood buttons.
    void onLockWorkspace();
    void onClearEstimates();

protected:
    // Adds the math symbols, parameters and functions tool bars and then the
    // form, holding the page's editor, to the page. Called once by each
    // page's constructor after it has built its editor.
    void addToolBarsAndForm(QWidget *editor);
    // Refills the symbol tool bars from the model and decides whether the
    // likelihood may be deleted now.
    void onPageActivated() override;

private:
    // Symbols clicked on the tool bar become textAvailable().
    QToolBar *connectToolBar(QToolBar *toolBar);
    // A likelihood may be deleted while another one remains and no
    // estimates lock the workspace.
    void updateDeleteButton();

    int m_likelihoodId;
    // Followed from the window's signals: while the window emits
    // clearEstimates() it still reports itself locked.
    bool m_locked;
    LikelihoodDefinitionForm *m_form = nullptr;
    QToolBar *m_mathSymbolsToolBar = nullptr;
    QToolBar *m_parametersToolBar = nullptr;
    QToolBar *m_functionsToolBar = nullptr;
};
