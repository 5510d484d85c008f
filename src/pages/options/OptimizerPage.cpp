#include "OptimizerPage.h"

#include "OptimizerSetupForm.h"

#include "app/PelkWindow.h"

#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char *const illegalPrecisionMessage = "Custom precision must be greater than 0; the default is used";

} // namespace

OptimizerPage::OptimizerPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Optimizer"), m_form(new OptimizerSetupForm(this))
{
    contentLayout()->addWidget(m_form);

    connect(mainWindow, &PelkWindow::lockWorkspace, m_form, &OptimizerSetupForm::onLockWorkspace);
    connect(mainWindow, &PelkWindow::clearEstimates, m_form, &OptimizerSetupForm::onClearEstimates);
    connect(m_form, &OptimizerSetupForm::usePreviousEstimatesSeedsStateChanged, this,
            &OptimizerPage::usePreviousEstimatesSeedsStateChanged);
    connect(m_form, &OptimizerSetupForm::calculateCovarianceStateChanged, this,
            &OptimizerPage::calculateCovarianceStateChanged);
    connect(m_form, &OptimizerSetupForm::optimizerSetupChanged, this, &OptimizerPage::optimizerSetupChanged);
    connect(m_form, &OptimizerSetupForm::profilePrecisionChanged, this,
            &OptimizerPage::onProfilePrecisionChanged);
}

void OptimizerPage::showOptimizerType(zav::OptimizerFactory::OptimizerType type)
{
    using Factory = zav::OptimizerFactory;
    m_form->showOptimizerIndex(type == Factory::Powell ? 0 : type == Factory::Fletch ? 1 : 2);
    // A file names the method before its settings and the window's flags are
    // read. While the page is current its fields would otherwise keep the old
    // values and write them over the loaded ones when the analyst leaves, so
    // they are refilled once the load has returned to the event loop.
    if (isCurrent())
        QTimer::singleShot(0, this, [this] {
            if (isCurrent())
                showCurrentSettings();
        });
}

void OptimizerPage::storeCurrentSettings()
{
    if (isCurrent())
        m_form->storeSettings();
}

void OptimizerPage::onPageActivated()
{
    showCurrentSettings();
}

void OptimizerPage::onPageDeactivated()
{
    m_form->storeSettings();
}

void OptimizerPage::showCurrentSettings()
{
    const pelk::Workspace &workspace = mainWindow()->workspace();
    m_form->showSettings(workspace.usePreviousEstimatesAsSeeds, workspace.calculateCovariance);
}

void OptimizerPage::onProfilePrecisionChanged()
{
    // A custom value that is not a positive number is not handed on: the
    // profile run keeps its automatic precision, and the analyst is told so
    // until the value is usable or the default is chosen again.
    mainWindow()->setProfilePrecision(m_form->profilePrecision());
    if (m_form->isCustomProfilePrecisionChosen() && !m_form->isCustomProfilePrecisionValid())
        statusBar()->showMessage(illegalPrecisionMessage);
    else if (statusBar()->currentMessage() == illegalPrecisionMessage)
        statusBar()->clearMessage();
}
