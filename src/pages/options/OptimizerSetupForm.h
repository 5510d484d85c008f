// The widgets of the Optimizer page: the choice of minimisation method, the
// tuning fields of the Fletch quasi-Newton method and of the downhill
// simplex, the two estimation switches and the precision of the
// profile-likelihood limits.
//
// The fields only mirror the process-wide settings records: the page fills
// them when it becomes current (showSettings) and writes them back when the
// analyst leaves it (storeSettings). The method, in contrast, takes effect
// in the optimizer factory as soon as it is chosen.
#pragma once

#include "optim/OptimizerFactory.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

class OptimizerSetupForm : public QWidget
{
    Q_OBJECT

public:
    explicit OptimizerSetupForm(QWidget *parent = nullptr);

    // Fills the six fields from the settings records and the two check boxes
    // from the given flags. Nothing is announced: showing what is stored is
    // not an edit of the workspace.
    void showSettings(bool usePreviousEstimatesAsSeeds, bool calculateCovariance);
    // Writes the six fields into the settings records; a text that does not
    // convert stores 0.
    void storeSettings() const;
    // Selects the method by its list index, which equals its OptimizerType.
    void showOptimizerIndex(int index);

    // The precision chosen for the profile-likelihood limits: none for "Use
    // the default", and none either while the custom text is not a positive
    // number (see isCustomProfilePrecisionValid).
    std::optional<double> profilePrecision() const;
    bool isCustomProfilePrecisionValid() const;
    bool isCustomProfilePrecisionChosen() const;

signals:
    void currentPageChanged();
    void optimizerSetupChanged();
    void usePreviousEstimatesSeedsStateChanged(bool state);
    void calculateCovarianceStateChanged(bool state);
    // The profile-precision radio buttons or the custom value changed.
    void profilePrecisionChanged();

public slots:
    void onLockWorkspace();
    void onClearEstimates();
    void onOptimizerIndexChanged(int index);
    void onFletchDefaultsClicked();
    void onFletchResetClicked();
    void onSimplexDefaultsClicked();
    void onSimplexResetClicked();
    void onUsePreviousEstimatesSeedsStateChanged(int state);
    void onCalculateCovarianceStateChanged(int state);

private:
    QWidget *createFletchPage();
    QWidget *createSimplexPage();
    QWidget *createSwitchesGroup();
    QWidget *createProfilePrecisionGroup();
    void connectSignals();
    void showFletchValues(int maxIterations, double precision, double stepSize);
    void showSimplexValues(int maxFuncEvaluations, double fractionalTolerance, double stepSize);
    void setSettingsEditable(bool editable);
    // The six tuning fields of both methods.
    QList<QLineEdit *> settingsFields() const;

    QComboBox *m_optimizerComboBox;
    QStackedWidget *m_stackedWidget;

    QLineEdit *m_fletchMaxIterationsLineEdit = nullptr;
    QLineEdit *m_fletchPrecisionLineEdit = nullptr;
    QLineEdit *m_fletchStepSizeLineEdit = nullptr;
    QPushButton *m_fletchResetButton = nullptr;
    QPushButton *m_fletchDefaultsButton = nullptr;

    QLineEdit *m_simplexMaxFuncLineEdit = nullptr;
    QLineEdit *m_simplexToleranceLineEdit = nullptr;
    QLineEdit *m_simplexStepSizeLineEdit = nullptr;
    QPushButton *m_simplexResetButton = nullptr;
    QPushButton *m_simplexDefaultsButton = nullptr;

    QCheckBox *m_usePreviousEstimatesSeedsCheckBox = nullptr;
    QCheckBox *m_calculateCovarianceCheckbox = nullptr;

    QRadioButton *m_defaultProfileRadioButton = nullptr;
    QRadioButton *m_customProfileRadioButton = nullptr;
    QLineEdit *m_customProfileLineEdit = nullptr;
};
