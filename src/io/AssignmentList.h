// A list of "name = value" entries separated by "," and ended by ";", the
// shape shared by the convenience functions and every side section.
#pragma once

#include "expr/Token.h"

#include <QList>

namespace pelk {

class TokenStream;

struct Assignment
{
    zav::Token name;
    zav::TokenList value; // may be empty: "=" directly followed by "," or ";"
    zav::Token separator; // the "," or ";" after the value

    // The token a value check blames: the value's first token, or the
    // separator when the value is empty.
    const zav::Token &firstValueToken() const { return value.isEmpty() ? separator : value.first(); }
};

class AssignmentList
{
public:
    // Reads entries until the one followed by ";". An entry that starts at
    // the end of input, or with the last token of the file, throws
    // "Unexpected end of file" at that token; one named ";" throws
    // "Unexpected characters".
    static QList<Assignment> read(TokenStream &tokens);
};

} // namespace pelk
