#include "expr/NameTable.h"

namespace zav {

const QString &NameTable::text(QStringView name)
{
    const auto found = m_texts.find(name);
    if (found != m_texts.end())
        return found->second;
    QString copy = name.toString();
    const QStringView key = copy;
    return m_texts.emplace(key, std::move(copy)).first->second;
}

} // namespace zav
