// The worker thread of an estimation. It runs an ordered list of units of
// work one after the other and reports through its signals. The runner and
// its runnables belong to the GUI thread while run() executes on the worker,
// so GUI receivers get every signal as a queued call, in emission order.
#pragma once

#include "optim/CancelFlag.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QThread>

#include <atomic>

namespace zav {

class ThreadRunnable;

class ThreadRunner : public QThread
{
    Q_OBJECT

public:
    explicit ThreadRunner(QObject *parent = nullptr);
    // A running worker is cancelled and awaited: the thread never outlives
    // the object whose run() it executes.
    ~ThreadRunner() override;

    // The runnables are not owned; their owner keeps them alive while the
    // runner may run them. Null pointers are never listed.
    void setRunnable(ThreadRunnable *runnable);
    void addRunnable(ThreadRunnable *runnable);
    const QList<ThreadRunnable *> &runnables() const { return m_runnables; }

    bool isCanceled() const { return isCancelled(&m_canceled); }
    // The last error text, Latin-1.
    const QByteArray &errorMessage() const { return m_errorMessage; }

signals:
    // Exactly one of the first two ends every run of a non-empty list.
    void runComplete();
    void runCanceled();
    void percentComplete(int percent);
    void progressStatus(const QString &text);
    void status(const QString &text);
    void error(const QString &text);
    void warning(const QString &text);
    void busy();

public slots:
    void setErrorMessage(const QString &text);
    void clearErrorMessage();
    // Only stores the request; the worker acts on it before the next runnable.
    void setCanceled(bool canceled);
    void cancel();

protected:
    void run() override;

private:
    friend class ThreadRunnable;

    // Progress of the runnable at work; called on the worker only, which is
    // why the two counters need no guard.
    void beginProgress(int total);
    void postProgress(int done);
    void runRunnables();

    CancelFlag m_canceled {false};
    QByteArray m_errorMessage;
    int m_progressTotal = 0;
    int m_lastPercent = 0;
    QList<ThreadRunnable *> m_runnables;
    // Released when a run ends, acquired once the worker has been awaited.
    // QThread::wait() already orders the two, but through Qt's own mutex,
    // which ThreadSanitizer cannot see into; the pair states the ordering
    // in PELK's code, so that the worker's last reads of this object are
    // seen to come before its destruction.
    std::atomic<int> m_runsEnded {0};
};

} // namespace zav
