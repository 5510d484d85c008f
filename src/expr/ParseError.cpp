#include "expr/ParseError.h"

namespace zav {

namespace {

// Control characters (C0, DEL, C1) as "\xHH": a file or a file name may
// hold any of them, and a message shown in a box or on a terminal must not
// break its line, move the cursor or send an escape sequence.
QString printable(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            result += QStringLiteral("\\x") + QString::number(c.unicode(), 16).rightJustified(2, u'0').toUpper();
        else
            result += c;
    }
    return result;
}

} // namespace

ParseError::ParseError(const Token &token, const QString &reason)
    : m_message(QStringLiteral("\"%1\" - %2").arg(printable(token.text), printable(reason))), m_token(token)
{}

QString ParseError::description() const
{
    QString text = m_message;
    if (m_token.line > 0)
        text += QStringLiteral(", line %1").arg(m_token.line);
    if (!m_fileName.isEmpty())
        text += QStringLiteral(", file \"%1\"").arg(printable(m_fileName));
    return text;
}

} // namespace zav
