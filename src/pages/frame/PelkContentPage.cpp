#include "PelkContentPage.h"

#include "app/PelkWindow.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QWhatsThis>

PelkContentPage::PelkContentPage(PelkWindow *mainWindow, const QString &title)
    : ContentPage(mainWindow, title), m_mainWindow(mainWindow)
{
    m_lockLabel = new QLabel("<b>Workspace Locked</b>", this);
    m_lockLabel->setObjectName("lockLabel");
    m_lockLabel->setWhatsThis(
        "Upon successful estimation, the workspace is locked in order to ensure consistency between the "
        "current workspace and the current results and model diagnostics.  In order to modify the "
        "workspace, go to the \"Actions\" menu and select \"Clear Current Estimates\".");
    m_lockLabel->hide();
    setWhatsThis("na");

    connect(mainWindow, &PelkWindow::lockWorkspace, this, &PelkContentPage::onLockWorkspace);
    connect(mainWindow, &PelkWindow::clearEstimates, this, &PelkContentPage::onClearEstimates);
}

bool PelkContentPage::isLockLabelShown() const
{
    return m_lockLabel->parentWidget() == statusBar() && !m_lockLabel->isHidden();
}

void PelkContentPage::onLockWorkspace()
{
    statusBar()->addPermanentWidget(m_lockLabel);
    m_lockLabel->show();
}

void PelkContentPage::onClearEstimates()
{
    statusBar()->removeWidget(m_lockLabel);
    m_lockLabel->hide();
}

bool PelkContentPage::event(QEvent *event)
{
    if (event->type() == QEvent::WhatsThis) {
        m_mainWindow->showHelpPage(helpPageName());
        QWhatsThis::leaveWhatsThisMode();
        event->accept();
        return true;
    }
    return ContentPage::event(event);
}
