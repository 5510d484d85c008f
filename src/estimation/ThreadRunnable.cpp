#include "estimation/ThreadRunnable.h"

#include "estimation/ThreadRunner.h"

#include <cstdio>

namespace zav {

ThreadRunnable::ThreadRunnable(ThreadRunner *runner, QObject *parent) : QObject(parent), m_runner(runner) {}

void ThreadRunnable::postProgressStatus(const QString &text)
{
    if (m_runner)
        emit m_runner->progressStatus(text);
}

void ThreadRunnable::postStatus(const QString &text)
{
    if (m_runner)
        emit m_runner->status(text);
}

void ThreadRunnable::postError(const QString &text)
{
    m_errorMessage = text.toLatin1();
    if (m_runner) {
        m_runner->setErrorMessage(text);
        return;
    }
    // Standard output through C stdio: a program that includes the C++
    // streams sets them up at every start, before main.
    std::printf("**** %s\n", text.toLocal8Bit().constData());
    std::fflush(stdout);
}

void ThreadRunnable::postFailure(const QString &text)
{
    m_failed = true;
    postError(text);
}

void ThreadRunnable::postWarning(const QString &text)
{
    if (m_runner)
        emit m_runner->warning(text);
}

void ThreadRunnable::beginProgress(int total)
{
    if (m_runner)
        m_runner->beginProgress(total);
}

void ThreadRunnable::postProgress(int done)
{
    if (m_runner)
        m_runner->postProgress(done);
}

void ThreadRunnable::postBusy()
{
    if (m_runner)
        emit m_runner->busy();
}

void ThreadRunnable::setCanceled(bool canceled)
{
    m_canceled.store(canceled, std::memory_order_relaxed);
    if (m_runner)
        m_runner->setCanceled(canceled);
}

} // namespace zav
