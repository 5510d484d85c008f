#include "estimation/EstimationLog.h"

namespace pelk {

void EstimationLog::write(const QString &text, Style style)
{
    m_pending += text;
    if (style == Bold)
        m_pendingIsError = true;
    qsizetype end;
    while ((end = m_pending.indexOf(u'\n')) >= 0) {
        line(m_pending.left(end), m_pendingIsError);
        m_pending.remove(0, end + 1);
    }
    if (m_pending.isEmpty())
        m_pendingIsError = false;
}

void EstimationLog::flush()
{
    if (!m_pending.isEmpty())
        line(m_pending, m_pendingIsError);
    m_pending.clear();
    m_pendingIsError = false;
}

void EstimationLog::line(const QString &text, bool isError)
{
    m_lines.append(text);
    if (isError)
        m_errors.append(text);
}

} // namespace pelk
