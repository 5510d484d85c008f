#include "expr/ParseError.h"

namespace zav {

ParseError::ParseError(const Token &token, const QString &reason)
    : m_message(QStringLiteral("\"%1\" - %2").arg(token.text, reason)), m_token(token)
{}

QString ParseError::description() const
{
    QString text = m_message;
    if (m_token.line > 0)
        text += QStringLiteral(", line %1").arg(m_token.line);
    if (!m_fileName.isEmpty())
        text += QStringLiteral(", file \"%1\"").arg(m_fileName);
    return text;
}

} // namespace zav
