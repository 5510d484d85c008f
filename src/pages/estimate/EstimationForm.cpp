#include "EstimationForm.h"

#include <QGridLayout>
#include <QIcon>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

EstimationForm::EstimationForm(QWidget *parent)
    : QWidget(parent),
      m_estimateButton(new QPushButton(QIcon(":/icons/applications-system.png"), "Estimate", this)),
      m_cancelEstimationButton(new QPushButton("Cancel Estimation", this)),
      m_progressBar(new QProgressBar(this)),
      m_textEdit(new QTextEdit(this))
{
    setObjectName("EstimationForm");
    m_estimateButton->setObjectName("estimateButton");
    m_cancelEstimationButton->setObjectName("cancelEstimationButton");
    m_cancelEstimationButton->setEnabled(false);
    m_progressBar->setObjectName("progressBar");
    m_textEdit->setObjectName("textEdit");
    // The log is a record of the run, not an editor.
    m_textEdit->setReadOnly(true);
    resetProgress();

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_estimateButton, 0, 0);
    layout->addWidget(m_cancelEstimationButton, 0, 1);
    layout->setColumnStretch(2, 1);
    layout->addWidget(m_progressBar, 1, 0, 1, 3);
    layout->addWidget(m_textEdit, 2, 0, 1, 3);
    layout->setRowStretch(2, 1);

    connect(m_estimateButton, &QPushButton::clicked, this, &EstimationForm::onEstimateClicked);
    connect(m_cancelEstimationButton, &QPushButton::clicked, this, &EstimationForm::cancelEstimation);
}

void EstimationForm::setEstimateEnabled(bool enabled)
{
    m_estimateButton->setEnabled(enabled);
}

void EstimationForm::setCancelEnabled(bool enabled)
{
    m_cancelEstimationButton->setEnabled(enabled);
}

void EstimationForm::showProgress(int percent)
{
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(percent);
    m_progressBar->show();
}

void EstimationForm::showBusy()
{
    // A range of 0..0 is Qt's indeterminate bar.
    m_progressBar->setRange(0, 0);
    m_progressBar->show();
}

void EstimationForm::resetProgress()
{
    m_progressBar->setRange(0, 100);
    m_progressBar->reset();
    m_progressBar->hide();
}

void EstimationForm::onEstimateClicked()
{
    m_estimateButton->setEnabled(false);
    m_cancelEstimationButton->setEnabled(true);
    emit estimate();
}
