// One token of formula or file text, with where it came from.
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace zav {

struct Token
{
    QString text;
    int line = 0; // supplied by the caller; 0 when the text is not from a file
    int column = 0; // 1-based position of the first character in the split text
    bool firstOnLine = false;
    bool lastOnLine = false;
    bool endOfInput = false; // set by the file reader on the last token of a file

    Token() = default;
    Token(const QString &text, int line, int column) : text(text), line(line), column(column) {}

    // The placeholder the file reader hands out when nothing is left:
    // empty text, line -1, column -1.
    static Token empty() { return Token(QString(), -1, -1); }
};

using TokenList = QList<Token>;

// A token as a view into the text it was split from, which must outlive
// it. The parser reads a formula's tokens this way and copies the text of
// the few that stay (names) or that an error shows, not of every operator
// and number.
struct TokenView
{
    QStringView text;
    int line = 0;
    int column = 0;
    // A string holding exactly the text, when one exists (a kept delimiter,
    // or the viewed token's own text): the copy then shares it instead of
    // allocating.
    const QString *whole = nullptr;

    TokenView() = default;
    TokenView(QStringView text, int line, int column, const QString *whole = nullptr)
        : text(text), line(line), column(column), whole(whole)
    {}
    // A view of the token, which must outlive it.
    TokenView(const Token &token) : TokenView(token.text, token.line, token.column, &token.text) {}

    QString toString() const { return whole ? *whole : text.toString(); }
    Token toToken() const { return Token(toString(), line, column); }
};

} // namespace zav
