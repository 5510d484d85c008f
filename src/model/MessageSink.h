// Where model checks write their findings: the Verify page's text area, the
// Estimate page's status log, or the command line. Findings are text, never
// exceptions; errors are written bold.
#pragma once

#include <QString>

namespace pelk {

class MessageSink
{
public:
    enum Style { Normal, Bold };

    virtual ~MessageSink() = default;
    virtual void write(const QString &text, Style style) = 0;
};

// Collects the messages as plain text, for headless use and tests.
class PlainTextSink : public MessageSink
{
public:
    void write(const QString &text, Style style) override
    {
        m_text += text;
        if (style == Bold)
            m_boldText += text;
    }
    const QString &text() const { return m_text; }
    // Only what was written bold, in order.
    const QString &boldText() const { return m_boldText; }

private:
    QString m_text;
    QString m_boldText;
};

} // namespace pelk
