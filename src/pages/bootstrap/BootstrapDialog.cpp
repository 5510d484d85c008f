#include "BootstrapDialog.h"

#include "app/PelkWindow.h"
#include "estimation/BootstrapEstimator.h"
#include "estimation/ParametricBootstrap.h"
#include "estimation/ThreadRunner.h"
#include "optim/NRError.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

BootstrapDialog::BootstrapDialog(PelkWindow *mainWindow)
    : QDialog(mainWindow),
      m_mainWindow(mainWindow),
      m_replicates(new QSpinBox(this)),
      m_seed(new QLineEdit(this)),
      m_progress(new QProgressBar(this)),
      m_message(new QLabel(this)),
      m_runner(new zav::ThreadRunner(this)),
      m_estimator(new pelk::BootstrapEstimator(m_runner, this))
{
    setWindowTitle(QStringLiteral("Bootstrap Goodness of Fit"));
    m_replicates->setObjectName(QStringLiteral("replicatesBox"));
    m_replicates->setRange(1, 1000000);
    m_replicates->setValue(pelk::ParametricBootstrap::defaultReplicates);
    m_seed->setObjectName(QStringLiteral("seedEdit"));
    // Up to 2^53 - 1, the largest seed a JSON number carries exactly.
    m_seed->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,15}")), m_seed));
    m_seed->setText(QString::number(pelk::ParametricBootstrap::defaultSeed));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_message->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    m_startButton = buttons->addButton(QStringLiteral("Start"), QDialogButtonBox::AcceptRole);
    m_cancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    connect(m_startButton, &QPushButton::clicked, this, &BootstrapDialog::onStart);
    connect(m_cancelButton, &QPushButton::clicked, this, &BootstrapDialog::onCancel);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Replicates:"), m_replicates);
    form->addRow(QStringLiteral("Seed:"), m_seed);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addWidget(m_message);
    layout->addWidget(buttons);

    m_runner->setRunnable(m_estimator);
    connect(m_runner, &zav::ThreadRunner::percentComplete, m_progress, &QProgressBar::setValue);
    connect(m_runner, &zav::ThreadRunner::runComplete, this, &BootstrapDialog::onRunEnded);
    connect(m_runner, &zav::ThreadRunner::runCanceled, this, &BootstrapDialog::onRunEnded);
}

BootstrapDialog::~BootstrapDialog()
{
    // The worker reads the bootstrap, which dies with this object.
    stopAndWait();
}

bool BootstrapDialog::isRunning() const
{
    return m_runner->isRunning();
}

void BootstrapDialog::onStart()
{
    const pelk::EstimationSummary *summary = m_mainWindow->summary();
    if (isRunning() || !summary)
        return;
    pelk::ParametricBootstrap::Options options;
    options.replicates = m_replicates->value();
    options.seed = m_seed->text().toULongLong();
    try {
        m_bootstrap = std::make_unique<pelk::ParametricBootstrap>(m_mainWindow->workspace(),
                                                                  m_mainWindow->results().estimates,
                                                                  pelk::ParametricBootstrap::observedFrom(*summary));
    } catch (const NR3::NRError &error) {
        m_message->setText(QString::fromLatin1(error.message));
        return;
    }
    m_message->setText(QStringLiteral("Simulating and refitting..."));
    m_progress->setValue(0);
    m_startButton->setEnabled(false);
    m_replicates->setEnabled(false);
    m_seed->setEnabled(false);
    m_estimator->setCanceled(false);
    m_estimator->setBootstrap(m_bootstrap.get(), options);
    m_runner->start();
}

void BootstrapDialog::onCancel()
{
    if (isRunning()) {
        m_estimator->setCanceled(true);
        m_message->setText(QStringLiteral("Cancelling..."));
        return;
    }
    QDialog::reject();
}

void BootstrapDialog::reject()
{
    stopAndWait();
    QDialog::reject();
}

void BootstrapDialog::onRunEnded()
{
    // Joined before the result is read: the worker's writes are then seen.
    m_runner->wait();
    m_startButton->setEnabled(true);
    m_replicates->setEnabled(true);
    m_seed->setEnabled(true);
    const auto &result = m_estimator->result();
    if (!result) {
        m_message->setText(QStringLiteral("Canceled."));
        m_progress->setValue(0);
        return;
    }
    m_message->clear();
    emit bootstrapComplete(*result);
    accept();
}

void BootstrapDialog::stopAndWait()
{
    if (!isRunning())
        return;
    m_estimator->setCanceled(true);
    m_runner->wait();
}
