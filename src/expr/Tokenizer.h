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

    void split(QStringView text, int startColumn, int line, TokenList &tokens,
               qsizetype firstDelimiter = 0) const;

    QList<Delimiter> m_delimiters; // longest first, so "exp(" is found before "("
    QString m_commentMarker;
};

} // namespace zav
