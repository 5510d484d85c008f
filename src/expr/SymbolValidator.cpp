#include "expr/SymbolValidator.h"

#include <algorithm>

namespace pelk {

namespace {

bool isAsciiLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

// A plain name is [A-Za-z][A-Za-z0-9_]* (ASCII only). Checked by hand: a
// file names every symbol of every category, and a regular expression
// match costs more than the rest of reading the name.
bool SymbolValidator::isValid(QStringView name) const
{
    if (name.isEmpty())
        return false;
    const auto isPlainNameCharacter
        = [](QChar c) { return isAsciiLetter(c.unicode()) || (c >= u'0' && c <= u'9') || c == u'_'; };
    if (isAsciiLetter(name.front().unicode()) && std::all_of(name.begin(), name.end(), isPlainNameCharacter))
        return true;
    return name.startsWith(u'$') && name.endsWith(u'$');
}

} // namespace pelk
