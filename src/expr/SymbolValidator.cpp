#include "expr/SymbolValidator.h"

#include <QRegularExpression>

namespace pelk {

bool SymbolValidator::isValid(const QString &name) const
{
    if (name.isEmpty())
        return false;
    static const QRegularExpression plainName(
        QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z][A-Za-z0-9_]*")));
    if (plainName.match(name).hasMatch())
        return true;
    return name.startsWith(u'$') && name.endsWith(u'$');
}

} // namespace pelk
