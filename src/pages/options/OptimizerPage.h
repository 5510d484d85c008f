// The "Optimizer" page: the minimisation method and its settings, the two
// estimation switches held by the main window, and the precision of the
// profile-likelihood limits. The settings records are process-wide; the
// page mirrors them while it is current and writes them back when the
// analyst leaves it.
#pragma once

#include "optim/OptimizerFactory.h"
#include "pages/frame/PelkContentPage.h"

class OptimizerSetupForm;

class OptimizerPage : public PelkContentPage
{
    Q_OBJECT

public:
    explicit OptimizerPage(PelkWindow *mainWindow);
    QString helpPageName() const override { return "setOptimizer.html"; }
    OptimizerSetupForm *form() const { return m_form; }

    // Selects the method named by a settings or workspace file: Powell,
    // Fletch, and the simplex for anything else.
    void showOptimizerType(zav::OptimizerFactory::OptimizerType type);
    // Writes the fields into the settings records now when the page is
    // current (they are otherwise written when the analyst leaves it), so
    // that a file saved from this page holds what the page shows.
    void storeCurrentSettings();

signals:
    void usePreviousEstimatesSeedsStateChanged(bool state);
    void calculateCovarianceStateChanged(bool state);
    void optimizerSetupChanged();

protected slots:
    void onPageActivated() override;
    void onPageDeactivated() override;

private slots:
    void onProfilePrecisionChanged();

private:
    void showCurrentSettings();

    OptimizerSetupForm *m_form;
};
