// Splits one text into tokens at a set of delimiters. Kept delimiters become
// tokens of their own, dropped ones (blanks) only separate. Formulas and
// every file line go through the same splitter with different delimiters.
#pragma once

#include "expr/Token.h"

#include <QStringList>

namespace zav {

class Tokenizer
{
public:
    Tokenizer(const QStringList &keptDelimiters, const QStringList &droppedDelimiters,
              const QString &commentMarker = QString());

    // Tokens of one text, each carrying the given line. The first is marked
    // firstOnLine and the last lastOnLine.
    TokenList tokenize(const QString &text, int line) const;

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
    void split(QStringView text, int startColumn, int line, TokenList &tokens, qsizetype firstDelimiter,
               const bool *present) const;
    static qsizetype find(QStringView text, const QString &delimiter, qsizetype from);

    QList<Delimiter> m_delimiters; // longest first, so "exp(" is found before "("
    QString m_commentMarker;
};

} // namespace zav
