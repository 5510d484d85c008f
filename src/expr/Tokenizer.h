// Splits one text into tokens at a set of delimiters. Kept delimiters become
// tokens of their own, dropped ones (blanks) only separate. Formulas and
// every file line go through the same splitter with different delimiters.
#pragma once

#include "expr/Token.h"

#include <QStringList>
#include <QVarLengthArray>

#include <array>

namespace zav {

class Tokenizer
{
public:
    // Room for the tokens of a formula of a few dozen operations without
    // an allocation.
    using TokenViews = QVarLengthArray<TokenView, 64>;

    Tokenizer(const QStringList &keptDelimiters, const QStringList &droppedDelimiters,
              const QString &commentMarker = QString());

    // Tokens of one text, each carrying the given line. The first is marked
    // firstOnLine and the last lastOnLine.
    TokenList tokenize(const QString &text, int line) const;
    // The same tokens appended to `tokens`.
    void tokenize(QStringView text, int line, TokenList &tokens) const;
    // The same tokens as views into the text (without the marks), appended
    // to `tokens`.
    void tokenizeInto(QStringView text, int line, TokenViews &tokens) const;

    // The delimiters of formula text.
    static QStringList formulaDelimiters();
    static QStringList blanks();

private:
    struct Delimiter
    {
        QString text;
        bool kept;
    };

    // `present[d]` is false for the delimiters the whole text lacks: no
    // part of it need be searched for them.
    void split(QStringView text, int startColumn, int line, TokenViews &tokens, qsizetype firstDelimiter,
               const bool *present) const;
    // The same tokens in one pass from left to right, trying the longest
    // delimiter first at each place; valid when m_scanLinearly.
    void scan(QStringView text, int line, TokenViews &tokens) const;
    static qsizetype find(QStringView text, const QString &delimiter, qsizetype from);
    // True when no two different delimiters can overlap in part (an end of
    // one being a beginning of another). Then the longest delimiter at the
    // leftmost place is always the one split() would cut at, since a
    // delimiter that occurs inside a longer one is shorter and so tried
    // later by both.
    static bool canScanLinearly(const QList<Delimiter> &delimiters);

    QList<Delimiter> m_delimiters; // longest first, so "exp(" is found before "("
    QString m_commentMarker;
    bool m_scanLinearly = false;
    // For an ASCII character, the first delimiter (in the order above) that
    // begins with it, or -1: most characters of a text begin none and need
    // no comparison, and the others need only those from there on.
    std::array<int, 128> m_firstDelimiter;
};

} // namespace zav
