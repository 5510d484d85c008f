#include "OptimizerSetupForm.h"

#include "optim/FletchSettings.h"
#include "optim/SimplexSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <climits>
#include <cmath>

namespace {

// Numbers are typed and shown the same way whatever the desktop's locale,
// because the fields are converted back with QString's C-locale conversion.
QLocale numberLocale()
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    return locale;
}

// Iteration and evaluation budgets: whole numbers of at least 1.
QValidator *countValidator(QObject *parent)
{
    auto *validator = new QIntValidator(1, INT_MAX, parent);
    validator->setLocale(numberLocale());
    return validator;
}

// Precisions, tolerances and step sizes: any double of at least 0.
QValidator *nonNegativeValidator(QObject *parent)
{
    auto *validator = new QDoubleValidator(parent);
    validator->setBottom(0.0);
    validator->setNotation(QDoubleValidator::ScientificNotation);
    validator->setLocale(numberLocale());
    return validator;
}

// General format, 6 significant digits: one millionth shows as "1e-06".
QString doubleText(double value)
{
    return QString::number(value, 'g', 6);
}

QLineEdit *makeField(const char *objectName, QValidator *validator, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setValidator(validator);
    return field;
}

QPushButton *makeButton(const char *objectName, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    return button;
}

// One settings page: three labelled fields above the Reset and Defaults
// buttons.
void layOutSettingsPage(QWidget *page, const QStringList &labels, const QList<QLineEdit *> &fields,
                        QPushButton *reset, QPushButton *defaults)
{
    auto *grid = new QGridLayout(page);
    for (int row = 0; row < fields.size(); ++row) {
        grid->addWidget(new QLabel(labels.at(row), page), row, 0);
        grid->addWidget(fields.at(row), row, 1);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(reset);
    buttons->addWidget(defaults);
    grid->addLayout(buttons, int(fields.size()), 0, 1, 2);
    grid->setRowStretch(int(fields.size()) + 1, 1);
}

} // namespace

OptimizerSetupForm::OptimizerSetupForm(QWidget *parent)
    : QWidget(parent), m_optimizerComboBox(new QComboBox(this)), m_stackedWidget(new QStackedWidget(this))
{
    setObjectName("OptimizerSetupForm");
    m_optimizerComboBox->setObjectName("optimizerComboBox");
    m_optimizerComboBox->setMinimumWidth(160);
    // The item index is the OptimizerType value.
    m_optimizerComboBox->addItems({"Powell's Direction Set", "Fletch Quasi-Newton ", "Downhill Simplex"});

    m_stackedWidget->setObjectName("stackedWidget");
    auto *powell = new QWidget(m_stackedWidget); // Powell's method has no settings here
    powell->setObjectName("Powell");
    m_stackedWidget->addWidget(powell);
    m_stackedWidget->addWidget(createFletchPage());
    m_stackedWidget->addWidget(createSimplexPage());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *comboRow = new QHBoxLayout;
    comboRow->addWidget(m_optimizerComboBox);
    comboRow->addStretch(1);
    layout->addLayout(comboRow);
    layout->addWidget(m_stackedWidget);
    layout->addWidget(createSwitchesGroup());
    layout->addWidget(createProfilePrecisionGroup());
    layout->addStretch(1);

    connectSignals();

    // The switches start as the analyst last left them.
    QSettings settings;
    m_usePreviousEstimatesSeedsCheckBox->setChecked(
        settings.value("usePreviousEstimatesSeeds", true).toBool());
    m_calculateCovarianceCheckbox->setChecked(settings.value("calculateCovariance", true).toBool());

    m_optimizerComboBox->setCurrentIndex(zav::OptimizerFactory::Powell);
    m_stackedWidget->setCurrentIndex(zav::OptimizerFactory::Powell);
}

QWidget *OptimizerSetupForm::createFletchPage()
{
    auto *page = new QWidget(m_stackedWidget);
    page->setObjectName("Fletch");
    m_fletchMaxIterationsLineEdit = makeField("fletchMaxIterationsLineEdit", countValidator(page), page);
    m_fletchPrecisionLineEdit = makeField("fletchPrecisionLineEdit", nonNegativeValidator(page), page);
    m_fletchStepSizeLineEdit = makeField("fletchStepSizeLineEdit", nonNegativeValidator(page), page);
    m_fletchResetButton = makeButton("fletchResetButton", "Reset", page);
    m_fletchDefaultsButton = makeButton("fletchDefaultsButton", "Defaults", page);
    layOutSettingsPage(page, {"Maximum iterations:", "Precision:", "Proportional step size:"},
                       {m_fletchMaxIterationsLineEdit, m_fletchPrecisionLineEdit, m_fletchStepSizeLineEdit},
                       m_fletchResetButton, m_fletchDefaultsButton);
    return page;
}

QWidget *OptimizerSetupForm::createSimplexPage()
{
    auto *page = new QWidget(m_stackedWidget);
    page->setObjectName("Simplex");
    m_simplexMaxFuncLineEdit = makeField("simplexMaxFuncLineEdit", countValidator(page), page);
    m_simplexToleranceLineEdit = makeField("simplexToleranceLineEdit", nonNegativeValidator(page), page);
    m_simplexStepSizeLineEdit = makeField("simplexStepSizeLineEdit", nonNegativeValidator(page), page);
    m_simplexResetButton = makeButton("simplexResetButton", "Reset", page);
    m_simplexDefaultsButton = makeButton("simplexDefaultsButton", "Defaults", page);
    layOutSettingsPage(
        page,
        {"Maximum function evaluations:", "Fractional convergence tolerance:", "Proportional step size:"},
        {m_simplexMaxFuncLineEdit, m_simplexToleranceLineEdit, m_simplexStepSizeLineEdit},
        m_simplexResetButton, m_simplexDefaultsButton);
    return page;
}

QWidget *OptimizerSetupForm::createSwitchesGroup()
{
    auto *group = new QGroupBox(this);
    group->setObjectName("groupBox_2");
    m_usePreviousEstimatesSeedsCheckBox = new QCheckBox("Use previous estimates as new seeds", group);
    m_usePreviousEstimatesSeedsCheckBox->setObjectName("usePreviousEstimatesSeedsCheckBox");
    m_usePreviousEstimatesSeedsCheckBox->setWhatsThis(
        "If checked, the \"Clear current estimates\" action will cause the current parameter estimates to be "
        "used as the parameter seeds the next time the parameters are estimated.");
    m_calculateCovarianceCheckbox = new QCheckBox("Calculate covariance matrix", group);
    m_calculateCovarianceCheckbox->setObjectName("calculateCovarianceCheckbox");
    m_calculateCovarianceCheckbox->setWhatsThis(
        "If checked, PELK will estimate the covariance matrix after successful estimation of the "
        "parameters.  Leaving it unchecked allows for obtaining point estimates when it is not possible to "
        "estimate the covariance matrix");
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(m_usePreviousEstimatesSeedsCheckBox);
    layout->addWidget(m_calculateCovarianceCheckbox);
    return group;
}

QWidget *OptimizerSetupForm::createProfilePrecisionGroup()
{
    auto *group = new QGroupBox("Profile Likelihood Estimation Precision", this);
    group->setObjectName("groupBox");
    m_defaultProfileRadioButton = new QRadioButton("Use the default", group);
    m_defaultProfileRadioButton->setObjectName("defaultProfileRadioButton");
    m_defaultProfileRadioButton->setChecked(true);
    m_customProfileRadioButton = new QRadioButton("Use a custom value", group);
    m_customProfileRadioButton->setObjectName("customProfileRadioButton");
    m_customProfileLineEdit = makeField("customProfileLineEdit", nonNegativeValidator(group), group);
    m_customProfileLineEdit->setText("0.1");
    m_customProfileLineEdit->setEnabled(false);
    auto *layout = new QGridLayout(group);
    layout->addWidget(m_defaultProfileRadioButton, 0, 0);
    layout->addWidget(m_customProfileRadioButton, 1, 0);
    layout->addWidget(m_customProfileLineEdit, 1, 1);
    layout->setColumnStretch(2, 1);
    return group;
}

void OptimizerSetupForm::connectSignals()
{
    connect(m_optimizerComboBox, qOverload<int>(&QComboBox::activated), m_stackedWidget,
            &QStackedWidget::setCurrentIndex);
    connect(m_optimizerComboBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &OptimizerSetupForm::onOptimizerIndexChanged);
    connect(m_optimizerComboBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &OptimizerSetupForm::optimizerSetupChanged);

    connect(m_customProfileRadioButton, &QRadioButton::toggled, m_customProfileLineEdit,
            &QLineEdit::setEnabled);
    connect(m_customProfileRadioButton, &QRadioButton::toggled, this,
            &OptimizerSetupForm::profilePrecisionChanged);
    connect(m_customProfileLineEdit, &QLineEdit::textChanged, this,
            &OptimizerSetupForm::profilePrecisionChanged);

    connect(m_usePreviousEstimatesSeedsCheckBox, &QCheckBox::stateChanged, this,
            &OptimizerSetupForm::onUsePreviousEstimatesSeedsStateChanged);
    connect(m_usePreviousEstimatesSeedsCheckBox, &QCheckBox::stateChanged, this,
            &OptimizerSetupForm::optimizerSetupChanged);
    connect(m_calculateCovarianceCheckbox, &QCheckBox::stateChanged, this,
            &OptimizerSetupForm::onCalculateCovarianceStateChanged);
    connect(m_calculateCovarianceCheckbox, &QCheckBox::stateChanged, this,
            &OptimizerSetupForm::optimizerSetupChanged);

    for (QLineEdit *field : settingsFields())
        connect(field, &QLineEdit::textChanged, this, &OptimizerSetupForm::optimizerSetupChanged);

    connect(m_fletchResetButton, &QPushButton::clicked, this, &OptimizerSetupForm::onFletchResetClicked);
    connect(m_fletchDefaultsButton, &QPushButton::clicked, this,
            &OptimizerSetupForm::onFletchDefaultsClicked);
    connect(m_simplexResetButton, &QPushButton::clicked, this, &OptimizerSetupForm::onSimplexResetClicked);
    connect(m_simplexDefaultsButton, &QPushButton::clicked, this,
            &OptimizerSetupForm::onSimplexDefaultsClicked);
}

QList<QLineEdit *> OptimizerSetupForm::settingsFields() const
{
    return {m_fletchMaxIterationsLineEdit, m_fletchPrecisionLineEdit,  m_fletchStepSizeLineEdit,
            m_simplexMaxFuncLineEdit,      m_simplexToleranceLineEdit, m_simplexStepSizeLineEdit};
}

// --- Filling and storing ---------------------------------------------------------

void OptimizerSetupForm::showSettings(bool usePreviousEstimatesAsSeeds, bool calculateCovariance)
{
    const QSignalBlocker blockers[] = {QSignalBlocker(m_fletchMaxIterationsLineEdit),
                                       QSignalBlocker(m_fletchPrecisionLineEdit),
                                       QSignalBlocker(m_fletchStepSizeLineEdit),
                                       QSignalBlocker(m_simplexMaxFuncLineEdit),
                                       QSignalBlocker(m_simplexToleranceLineEdit),
                                       QSignalBlocker(m_simplexStepSizeLineEdit),
                                       QSignalBlocker(m_usePreviousEstimatesSeedsCheckBox),
                                       QSignalBlocker(m_calculateCovarianceCheckbox)};
    onFletchResetClicked();
    m_usePreviousEstimatesSeedsCheckBox->setChecked(usePreviousEstimatesAsSeeds);
    m_calculateCovarianceCheckbox->setChecked(calculateCovariance);
    onSimplexResetClicked();
}

void OptimizerSetupForm::storeSettings() const
{
    // Plain conversions: the validators already limit what can be typed, and
    // an emptied field stores 0.
    zav::FletchSettings &fletch = zav::FletchSettings::instance();
    fletch.maxIterations = m_fletchMaxIterationsLineEdit->text().toInt();
    fletch.precision = m_fletchPrecisionLineEdit->text().toDouble();
    fletch.stepSize = m_fletchStepSizeLineEdit->text().toDouble();

    zav::SimplexSettings &simplex = zav::SimplexSettings::instance();
    simplex.maxFuncEvaluations = m_simplexMaxFuncLineEdit->text().toInt();
    simplex.fractionalTolerance = m_simplexToleranceLineEdit->text().toDouble();
    simplex.stepSize = m_simplexStepSizeLineEdit->text().toDouble();
}

void OptimizerSetupForm::showOptimizerIndex(int index)
{
    m_optimizerComboBox->setCurrentIndex(index);
}

void OptimizerSetupForm::showFletchValues(int maxIterations, double precision, double stepSize)
{
    m_fletchMaxIterationsLineEdit->setText(QString::number(maxIterations));
    m_fletchPrecisionLineEdit->setText(doubleText(precision));
    m_fletchStepSizeLineEdit->setText(doubleText(stepSize));
}

void OptimizerSetupForm::showSimplexValues(int maxFuncEvaluations, double fractionalTolerance,
                                           double stepSize)
{
    m_simplexMaxFuncLineEdit->setText(QString::number(maxFuncEvaluations));
    m_simplexToleranceLineEdit->setText(doubleText(fractionalTolerance));
    m_simplexStepSizeLineEdit->setText(doubleText(stepSize));
}

// --- Profile-likelihood precision ------------------------------------------------

bool OptimizerSetupForm::isCustomProfilePrecisionChosen() const
{
    return m_customProfileRadioButton->isChecked();
}

bool OptimizerSetupForm::isCustomProfilePrecisionValid() const
{
    bool ok = false;
    const double value = m_customProfileLineEdit->text().toDouble(&ok);
    // A precision of 0 would ask the profile search for exact limits.
    return ok && std::isfinite(value) && value > 0.0;
}

std::optional<double> OptimizerSetupForm::profilePrecision() const
{
    if (!isCustomProfilePrecisionChosen() || !isCustomProfilePrecisionValid())
        return std::nullopt;
    return m_customProfileLineEdit->text().toDouble();
}

// --- Slots -----------------------------------------------------------------------

void OptimizerSetupForm::onLockWorkspace()
{
    setSettingsEditable(false);
}

void OptimizerSetupForm::onClearEstimates()
{
    setSettingsEditable(true);
}

void OptimizerSetupForm::setSettingsEditable(bool editable)
{
    // The switches and the profile precision stay editable: they do not
    // change the estimates that exist.
    m_optimizerComboBox->setEnabled(editable);
    for (QPushButton *button :
         {m_fletchResetButton, m_fletchDefaultsButton, m_simplexResetButton, m_simplexDefaultsButton})
        button->setEnabled(editable);
    for (QLineEdit *field : settingsFields())
        field->setReadOnly(!editable);
}

void OptimizerSetupForm::onOptimizerIndexChanged(int index)
{
    using Factory = zav::OptimizerFactory;
    m_stackedWidget->setCurrentIndex(index);
    const Factory::OptimizerType type = index == 0 ? Factory::Powell
        : index == 1                               ? Factory::Fletch
                                                   : Factory::Simplex;
    Factory::instance().setOptimizerType(type);
}

void OptimizerSetupForm::onFletchDefaultsClicked()
{
    using Fletch = zav::FletchSettings;
    showFletchValues(Fletch::defaultMaxIterations, Fletch::defaultPrecision, Fletch::defaultStepSize);
}

void OptimizerSetupForm::onFletchResetClicked()
{
    const zav::FletchSettings &fletch = zav::FletchSettings::instance();
    showFletchValues(fletch.maxIterations, fletch.precision, fletch.stepSize);
}

void OptimizerSetupForm::onSimplexDefaultsClicked()
{
    using Simplex = zav::SimplexSettings;
    showSimplexValues(Simplex::defaultMaxFuncEvaluations, Simplex::defaultFractionalTolerance,
                      Simplex::defaultStepSize);
}

void OptimizerSetupForm::onSimplexResetClicked()
{
    const zav::SimplexSettings &simplex = zav::SimplexSettings::instance();
    showSimplexValues(simplex.maxFuncEvaluations, simplex.fractionalTolerance, simplex.stepSize);
}

void OptimizerSetupForm::onUsePreviousEstimatesSeedsStateChanged(int state)
{
    emit usePreviousEstimatesSeedsStateChanged(state == Qt::Checked);
}

void OptimizerSetupForm::onCalculateCovarianceStateChanged(int state)
{
    emit calculateCovarianceStateChanged(state == Qt::Checked);
}
