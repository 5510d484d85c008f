// Which words may name a parameter or a convenience function.
#pragma once

#include <QStringView>

namespace zav {

class AbstractSymbolValidator
{
public:
    virtual ~AbstractSymbolValidator() = default;
    virtual bool isValid(QStringView name) const = 0;
};

} // namespace zav

namespace pelk {

// A letter followed by letters, digits and underscores (Beta_2), or any
// text between two dollar signs ($weird.name$, and a lone "$").
class SymbolValidator : public zav::AbstractSymbolValidator
{
public:
    bool isValid(QStringView name) const override;
};

} // namespace pelk
