#include "io/FileTextRules.h"

#include "expr/ParseError.h"
#include "expr/Parser.h"
#include "expr/Symbol.h"
#include "expr/SymbolValidator.h"
#include "expr/Tokenizer.h"
#include "io/TokenStream.h"

#include <QStringList>

namespace pelk::FileTextRules {

namespace {

// The tokens the file reader makes of the text as one line.
zav::TokenList fileTokens(const QString &text)
{
    static const zav::Tokenizer tokenizer(TokenStream::defaultDelimiters(), TokenStream::defaultWhitespace(),
                                          QStringLiteral("#"));
    return tokenizer.tokenize(text, 0);
}

bool joinsBackTo(const zav::TokenList &tokens, const QString &text)
{
    QStringList words;
    for (const zav::Token &token : tokens)
        words.append(token.text);
    return words.join(u' ') == text;
}

bool hasToken(const zav::TokenList &tokens, QStringView text)
{
    for (const zav::Token &token : tokens)
        if (token.text == text)
            return true;
    return false;
}

} // namespace

bool isWritableCategoryLabel(const QString &label)
{
    const zav::TokenList tokens = fileTokens(label);
    return !tokens.isEmpty() && joinsBackTo(tokens, label) && !hasToken(tokens, u",")
        && !hasToken(tokens, u":") && tokens.first().text != u";";
}

bool isWritableLikelihoodName(const QString &name)
{
    const zav::TokenList tokens = fileTokens(name);
    return !tokens.isEmpty() && joinsBackTo(tokens, name) && !hasToken(tokens, u"\"");
}

bool isWritableSymbolName(const QString &name)
{
    const zav::TokenList tokens = fileTokens(name);
    if (tokens.size() != 1 || tokens.first().text != name)
        return false;
    // Formulas split text at operators: "$a+b$" could never be used in one.
    try {
        const zav::EquationPtr equation = zav::parse(name, SymbolValidator());
        return dynamic_cast<const zav::Symbol *>(equation.get()) != nullptr;
    } catch (const zav::ParseError &) {
        return false;
    }
}

} // namespace pelk::FileTextRules
