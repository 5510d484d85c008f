// The error of every text PELK reads: formulas typed into an editor and
// every file. Thrown by value, caught by reference.
#pragma once

#include "expr/Token.h"

namespace zav {

class ParseError
{
public:
    // The message is "\"<token text>\" - <reason>", with every control
    // character written as "\xHH".
    ParseError(const Token &token, const QString &reason);

    const QString &message() const { return m_message; }
    const Token &token() const { return m_token; }
    const QString &fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }

    // The message, then ", line <n>" when the line is above 0, then
    // ", file \"<name>\"" when a file name was set (its control characters
    // written as "\xHH" too).
    QString description() const;

private:
    QString m_message;
    Token m_token;
    QString m_fileName;
};

} // namespace zav
