// Actions > Bootstrap Goodness of Fit...: asks for the number of replicates
// and the seed, runs the parametric bootstrap of the current estimates on a
// worker thread (which refits on every core) with a progress bar and a
// Cancel button, and hands the result to the window when it is complete.
// Closing the dialog during a run cancels it and waits for the worker.
#pragma once

#include "estimation/BootstrapResult.h"

#include <QDialog>

#include <memory>

class PelkWindow;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace zav {
class ThreadRunner;
}
namespace pelk {
class BootstrapEstimator;
class ParametricBootstrap;
} // namespace pelk

class BootstrapDialog : public QDialog
{
    Q_OBJECT

public:
    explicit BootstrapDialog(PelkWindow *mainWindow);
    ~BootstrapDialog() override;

    QSpinBox *replicatesBox() const { return m_replicates; }
    QLineEdit *seedEdit() const { return m_seed; }
    QPushButton *startButton() const { return m_startButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QProgressBar *progressBar() const { return m_progress; }
    bool isRunning() const;

signals:
    void bootstrapComplete(const pelk::BootstrapResult &result);

public slots:
    void onStart();
    void onCancel();

protected:
    void reject() override;

private:
    void onRunEnded();
    void stopAndWait();

    PelkWindow *m_mainWindow;
    QSpinBox *m_replicates;
    QLineEdit *m_seed;
    QProgressBar *m_progress;
    QLabel *m_message;
    QPushButton *m_startButton;
    QPushButton *m_cancelButton;
    std::unique_ptr<pelk::ParametricBootstrap> m_bootstrap;
    zav::ThreadRunner *m_runner;
    pelk::BootstrapEstimator *m_estimator;
};
