#include "io/AssignmentList.h"

#include "expr/ParseError.h"
#include "io/TokenStream.h"

namespace pelk {

QList<Assignment> AssignmentList::read(TokenStream &tokens)
{
    QList<Assignment> entries;
    do {
        Assignment entry;
        entry.name = tokens.next();
        // A name that is the file's last token can never be followed by
        // "= value;", so the file was cut short here.
        if (entry.name.text.isEmpty() || entry.name.endOfInput)
            throw zav::ParseError(entry.name, QStringLiteral("Unexpected end of file"));
        // A section that starts with ";" is empty, so an entry named ";" (a
        // convenience function, after a ",") could not be written back first.
        if (entry.name.text == u";")
            throw zav::ParseError(entry.name, QStringLiteral("Unexpected characters"));
        tokens.expect(QStringLiteral("="));
        entry.value = tokens.gatherExpression();
        // gatherExpression stops only at "," or ";" (or throws at the end).
        entry.separator = tokens.next();
        entries.append(entry);
    } while (entries.last().separator.text != u";");
    return entries;
}

} // namespace pelk
