// The names read from one text, each made a string once. A model file
// names the same few parameters and functions in every category (ten
// thousand names in a model of a thousand categories): Symbols that share
// their name's string cost no allocation and no memory of their own.
#pragma once

#include <QHashFunctions>
#include <QString>
#include <QStringView>

#include <unordered_map>

namespace zav {

class NameTable
{
public:
    // The string of the name, made on its first use.
    const QString &text(QStringView name);

private:
    struct Hash
    {
        std::size_t operator()(QStringView name) const noexcept { return qHash(name); }
    };

    // Each key views its own value, whose characters stay where they are
    // while the value lives (the map's nodes never move).
    std::unordered_map<QStringView, QString, Hash> m_texts;
};

} // namespace zav
