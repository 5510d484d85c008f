// The reader's view of one open text file: a queue of tokens, filled line by
// line, that always keeps one token of look-ahead so that the last token of
// the file is known (and marked endOfInput) when it is taken.
#pragma once

#include "expr/Token.h"
#include "expr/Tokenizer.h"

#include <QStringList>

namespace pelk {

class TokenStream
{
public:
    // Reads the first line at once. The text is not owned and must outlive
    // the stream. A line ends at "\n" or at the end of the text, without one
    // "\r" before either (as a text stream reads lines).
    explicit TokenStream(QStringView text, int firstLine = 0,
                         const QStringList &whitespace = defaultWhitespace(),
                         const QStringList &delimiters = defaultDelimiters(),
                         const QString &commentMarker = QStringLiteral("#"));

    // Removes and returns the first token; the empty token (empty text,
    // line -1) once nothing is left.
    zav::Token next();
    // The first token without taking it; the empty token when nothing is
    // left. Reads further lines only while nothing is queued, so that blank
    // and comment lines at the top of a file do not hide what follows.
    zav::Token peek();
    // Takes the next token and throws "Unexpected characters" at it unless
    // its text is the given one.
    void expect(const QString &text);

    // Takes the tokens of an expression: everything up to the next "," or
    // ";", which stays in the stream. Throws "Unexpected end of file" at the
    // empty end token when the input ends first, so a missing delimiter can
    // never make the reader wait or read past the end.
    zav::TokenList gatherExpression();

    // Throws "Unexpected end of file" at the token when it is the empty end token.
    static void throwIfEnd(const zav::Token &token);

    int line() const { return m_line; }
    bool atEnd() const { return m_atEnd; }

    static QStringList defaultWhitespace();
    static QStringList defaultDelimiters();

private:
    void readLine();

    QStringView m_unread; // the text after the lines read
    zav::Tokenizer m_tokenizer;
    int m_line;
    bool m_atEnd = false;
    zav::TokenList m_queue;
};

} // namespace pelk
