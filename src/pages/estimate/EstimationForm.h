// The controls of the Estimate page: the Estimate and Cancel Estimation
// buttons, a progress bar for the run and the status log. The form only
// reports the presses; the page decides what the buttons allow.
#pragma once

#include <QWidget>

class QProgressBar;
class QPushButton;
class QTextEdit;

class EstimationForm : public QWidget
{
    Q_OBJECT

public:
    explicit EstimationForm(QWidget *parent = nullptr);

    void setEstimateEnabled(bool enabled);
    void setCancelEnabled(bool enabled);
    QTextEdit *textEdit() const { return m_textEdit; }
    QPushButton *estimateButton() const { return m_estimateButton; }
    QPushButton *cancelEstimationButton() const { return m_cancelEstimationButton; }
    QProgressBar *progressBar() const { return m_progressBar; }

    // The bar while a run is active: a share of a known amount of work, or
    // an indeterminate bar while the amount is unknown.
    void showProgress(int percent);
    void showBusy();
    // Back to the idle form: empty and hidden.
    void resetProgress();

signals:
    void estimate();
    void cancelEstimation();

public slots:
    void onEstimateClicked();

private:
    QPushButton *m_estimateButton;
    QPushButton *m_cancelEstimationButton;
    QProgressBar *m_progressBar;
    QTextEdit *m_textEdit;
};
