#include "estimation/ThreadRunner.h"

#include "estimation/ThreadRunnable.h"

namespace zav {

ThreadRunner::ThreadRunner(QObject *parent) : QThread(parent) {}

ThreadRunner::~ThreadRunner()
{
    // While the worker runs, the listed runnables are alive (the worker is
    // calling them); when it does not, they may already be gone.
    if (isRunning()) {
        cancel();
        for (ThreadRunnable *runnable : std::as_const(m_runnables))
            runnable->setCanceled(true);
    }
    wait();
    (void)m_runsEnded.load(std::memory_order_acquire);
}

void ThreadRunner::setRunnable(ThreadRunnable *runnable)
{
    m_runnables.clear();
    addRunnable(runnable);
}

void ThreadRunner::addRunnable(ThreadRunnable *runnable)
{
    if (runnable)
        m_runnables.append(runnable);
}

void ThreadRunner::setErrorMessage(const QString &text)
{
    m_errorMessage = text.toLatin1();
    emit error(text);
}

void ThreadRunner::clearErrorMessage()
{
    m_errorMessage.clear();
}

void ThreadRunner::setCanceled(bool canceled)
{
    m_canceled.store(canceled, std::memory_order_relaxed);
}

void ThreadRunner::cancel()
{
    setCanceled(true);
}

void ThreadRunner::run()
{
    runRunnables();
    m_runsEnded.fetch_add(1, std::memory_order_release);
}

void ThreadRunner::runRunnables()
{
    // A request left over from the previous run must not stop this one.
    setCanceled(false);
    if (m_runnables.isEmpty())
        return;

    // A copy, so that the list the worker walks is fixed for the whole run.
    const QList<ThreadRunnable *> runnables = m_runnables;
    for (ThreadRunnable *runnable : runnables) {
        if (isCanceled())
            break;
        runnable->m_failed = false;
        runnable->run();
        if (runnable->hasFailed())
            break;
    }

    if (isCanceled())
        emit runCanceled();
    else
        emit runComplete();
}

void ThreadRunner::beginProgress(int total)
{
    m_progressTotal = total;
    m_lastPercent = 0;
    emit percentComplete(0);
}

void ThreadRunner::postProgress(int done)
{
    if (m_progressTotal < 1)
        return;
    // Zero always goes out, so a runnable can show a restart; the high-water
    // mark stays, so the bar never moves back for small steps afterwards.
    if (done == 0) {
        emit percentComplete(0);
        return;
    }
    // In 64 bits: done * 100 overflows an int beyond about 21 million steps.
    const qint64 percent = qint64(done) * 100 / m_progressTotal;
    if (percent > m_lastPercent) {
        m_lastPercent = int(percent);
        emit percentComplete(m_lastPercent);
    }
}

} // namespace zav
