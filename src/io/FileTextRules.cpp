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

// The tokens the file reader makes of the text as one line, as views into it.
zav::Tokenizer::TokenViews fileTokens(const QString &text)
{
    static const zav::Tokenizer tokenizer(TokenStream::defaultDelimiters(), TokenStream::defaultWhitespace(),
                                          QStringLiteral("#"));
    zav::Tokenizer::TokenViews tokens;
    tokenizer.tokenizeInto(text, 0, tokens);
    return tokens;
}

// Whether the tokens joined by single blanks give the text back. They are
// pieces of the text itself, so they do when they start at its start, end
// at its end and stand one blank apart.
bool joinsBackTo(const zav::Tokenizer::TokenViews &tokens, const QString &text)
{
    qsizetype end = 0; // of the token before
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const qsizetype start = tokens[i].column - 1;
        const bool inPlace = i == 0 ? start == 0 : start == end + 1 && text.at(end) == u' ';
        if (!inPlace)
            return false;
        end = start + tokens[i].text.size();
    }
    return end == text.size();
}

bool hasToken(const zav::Tokenizer::TokenViews &tokens, QStringView text)
{
    for (const zav::TokenView &token : tokens)
        if (token.text == text)
            return true;
    return false;
}

} // namespace

bool isWritableCategoryLabel(const QString &label)
{
    const zav::Tokenizer::TokenViews tokens = fileTokens(label);
    return !tokens.isEmpty() && joinsBackTo(tokens, label) && !hasToken(tokens, u",")
        && !hasToken(tokens, u":") && tokens.first().text != u";";
}

bool isWritableLikelihoodName(const QString &name)
{
    const zav::Tokenizer::TokenViews tokens = fileTokens(name);
    return !tokens.isEmpty() && joinsBackTo(tokens, name) && !hasToken(tokens, u"\"");
}

bool isWritableSymbolName(const QString &name)
{
    const zav::Tokenizer::TokenViews tokens = fileTokens(name);
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
