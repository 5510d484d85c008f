// One unit of work for a ThreadRunner. A runnable reports status text,
// errors, warnings and progress through its runner and never talks to
// widgets; run() executes on the worker thread.
#pragma once

#include "optim/CancelFlag.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace zav {

class ThreadRunner;

class ThreadRunnable : public QObject
{
    Q_OBJECT

public:
    // The runner is not owned and may be null; without one, reports are
    // dropped, except errors, which go to standard output.
    explicit ThreadRunnable(ThreadRunner *runner, QObject *parent = nullptr);

    // The work. Long loops test cancelFlag() once per iteration and return
    // normally when it is set; failures are reported with postError, also
    // followed by a normal return, so that the next runnable still runs.
    // A failure that leaves the units queued behind this one nothing to
    // work on (no estimates) is reported with postFailure instead: the
    // runner then ends the run after this unit.
    virtual void run() = 0;

    virtual void postProgressStatus(const QString &text);
    virtual void postStatus(const QString &text);
    virtual void postError(const QString &text);
    // postError, and the run ends after this unit.
    void postFailure(const QString &text);
    virtual void postWarning(const QString &text);
    // Progress in steps of a known total: percentComplete(0) now, then a
    // percentage each time postProgress raises it.
    virtual void beginProgress(int total);
    virtual void postProgress(int done);
    virtual void postBusy();
    // Sets this runnable's flag and the runner's; called on the GUI thread.
    virtual void setCanceled(bool canceled);

    // The flag handed to optimizers and other long loops.
    const CancelFlag *cancelFlag() const { return &m_canceled; }
    bool isCanceled() const { return isCancelled(&m_canceled); }
    ThreadRunner *runner() const { return m_runner; }
    // The last error text, Latin-1.
    const QByteArray &errorMessage() const { return m_errorMessage; }
    // True from a postFailure until the runner starts this unit again.
    bool hasFailed() const { return m_failed; }

private:
    friend class ThreadRunner;

    ThreadRunner *m_runner;
    CancelFlag m_canceled {false};
    QByteArray m_errorMessage;
    // Written and read on the worker thread only.
    bool m_failed = false;
};

} // namespace zav
