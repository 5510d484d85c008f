// One token of formula or file text, with where it came from.
#pragma once

#include <QList>
#include <QString>

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

} // namespace zav
