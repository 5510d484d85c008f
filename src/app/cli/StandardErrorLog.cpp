#include "StandardErrorLog.h"

#include <cstdio>
#include <unistd.h>

StandardErrorLog::StandardErrorLog() : m_err(stderr), m_terminal(::isatty(STDERR_FILENO) == 1) {}

void StandardErrorLog::line(const QString &text, bool isError)
{
    clearProgress();
    m_err << text << '\n';
    m_err.flush();
    EstimationLog::line(text, isError);
}

void StandardErrorLog::progress(int percent)
{
    if (!m_terminal)
        return;
    m_err << QStringLiteral("\rProfile likelihoods: %1%").arg(percent);
    m_err.flush();
    m_progressShown = true;
}

void StandardErrorLog::clearProgress()
{
    if (!m_progressShown)
        return;
    m_err << "\r\033[K";
    m_progressShown = false;
}
