#include "io/TokenStream.h"

#include "expr/ParseError.h"

namespace pelk {

TokenStream::TokenStream(QStringView text, int firstLine, const QStringList &whitespace,
                         const QStringList &delimiters, const QString &commentMarker)
    : m_unread(text), m_tokenizer(delimiters, whitespace, commentMarker), m_line(firstLine)
{
    readLine();
}

QStringList TokenStream::defaultWhitespace()
{
    return {QStringLiteral("\t"), QStringLiteral("\n"), QStringLiteral(" ")};
}

QStringList TokenStream::defaultDelimiters()
{
    return {QStringLiteral("="), QStringLiteral(","), QStringLiteral(";"), QStringLiteral("\""),
            QStringLiteral(":")};
}

void TokenStream::readLine()
{
    if (m_atEnd)
        return;
    const qsizetype end = m_unread.indexOf(u'\n');
    QStringView text = end < 0 ? m_unread : m_unread.left(end);
    m_unread = end < 0 ? QStringView() : m_unread.mid(end + 1);
    if (text.endsWith(u'\r'))
        text.chop(1);
    ++m_line;
    m_tokenizer.tokenize(text, m_line, m_queue);
    if (m_unread.isEmpty()) {
        m_atEnd = true;
        if (m_queue.isEmpty()) {
            zav::Token end = zav::Token::empty();
            m_queue.append(end);
        }
        m_queue.last().endOfInput = true;
    }
}

zav::Token TokenStream::next()
{
    while (m_queue.size() < 2 && !m_atEnd)
        readLine();
    if (m_queue.isEmpty())
        return zav::Token::empty();
    return m_queue.takeFirst();
}

zav::Token TokenStream::peek()
{
    while (m_queue.isEmpty() && !m_atEnd)
        readLine();
    return m_queue.isEmpty() ? zav::Token::empty() : m_queue.first();
}

void TokenStream::expect(const QString &text)
{
    const zav::Token token = next();
    if (token.text != text)
        throw zav::ParseError(token, QStringLiteral("Unexpected characters"));
}

void TokenStream::throwIfEnd(const zav::Token &token)
{
    // Tokens split from a line are never empty, so empty text means the end.
    if (token.text.isEmpty())
        throw zav::ParseError(token, QStringLiteral("Unexpected end of file"));
}

zav::TokenList TokenStream::gatherExpression()
{
    zav::TokenList tokens;
    for (;;) {
        const zav::Token token = peek();
        throwIfEnd(token);
        if (token.text == u"," || token.text == u";")
            return tokens;
        tokens.append(next());
    }
}

} // namespace pelk
