#include "expr/Tokenizer.h"

#include <QVarLengthArray>

#include <algorithm>

namespace zav {

Tokenizer::Tokenizer(const QStringList &keptDelimiters, const QStringList &droppedDelimiters,
                     const QString &commentMarker)
    : m_commentMarker(commentMarker)
{
    // An empty delimiter would match everywhere and split nothing.
    for (const QString &d : keptDelimiters)
        if (!d.isEmpty())
            m_delimiters.append({d, true});
    for (const QString &d : droppedDelimiters)
        if (!d.isEmpty())
            m_delimiters.append({d, false});
    std::stable_sort(m_delimiters.begin(), m_delimiters.end(),
                     [](const Delimiter &a, const Delimiter &b) { return a.text.size() > b.text.size(); });
}

QStringList Tokenizer::formulaDelimiters()
{
    return {QStringLiteral("*"),    QStringLiteral("/"),        QStringLiteral("+"), QStringLiteral("-"),
            QStringLiteral("("),    QStringLiteral(")"),        QStringLiteral("^"), QStringLiteral("exp("),
            QStringLiteral("log("), QStringLiteral("invLogit(")};
}

QStringList Tokenizer::blanks()
{
    return {QStringLiteral(" "), QStringLiteral("\n"), QStringLiteral("\t")};
}

TokenList Tokenizer::tokenize(const QString &text, int line) const
{
    QStringView view(text);
    if (!m_commentMarker.isEmpty()) {
        const qsizetype cut = text.indexOf(m_commentMarker);
        if (cut >= 0)
            view = view.left(cut);
    }
    QVarLengthArray<bool, 16> present(m_delimiters.size());
    for (qsizetype d = 0; d < m_delimiters.size(); ++d)
        present[d] = find(view, m_delimiters[d].text, 0) >= 0;
    TokenList tokens;
    split(view, 1, line, tokens, 0, present.data());
    if (!tokens.isEmpty()) {
        tokens.first().firstOnLine = true;
        tokens.last().lastOnLine = true;
    }
    return tokens;
}

// Split at the first occurrence of the first delimiter (longest first) found
// anywhere in the text; the part before it is split the same way, and so is
// the part after it. The part after is handled by the loop rather than by
// recursion, and each delimiter's next occurrence is remembered, so a long
// line costs O(length x delimiters). The part before the split point holds
// none of the delimiters tried up to the one chosen, so its split starts
// with the next delimiter and the recursion is no deeper than their number.
qsizetype Tokenizer::find(QStringView text, const QString &delimiter, qsizetype from)
{
    return delimiter.size() == 1 ? text.indexOf(delimiter.front(), from) : text.indexOf(delimiter, from);
}

void Tokenizer::split(QStringView text, int startColumn, int line, TokenList &tokens,
                      qsizetype firstDelimiter, const bool *present) const
{
    constexpr qsizetype unknown = -2;
    QVarLengthArray<qsizetype, 16> next(m_delimiters.size(), unknown);
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype chosen = -1;
        for (qsizetype d = firstDelimiter; d < m_delimiters.size(); ++d) {
            if (!present[d])
                continue;
            if (next[d] == unknown || (next[d] >= 0 && next[d] < pos))
                next[d] = find(text, m_delimiters[d].text, pos);
            if (next[d] >= 0) {
                chosen = d;
                break;
            }
        }
        if (chosen < 0) {
            tokens.append(Token(text.mid(pos).toString(), line, startColumn + int(pos)));
            return;
        }
        const Delimiter &delimiter = m_delimiters[chosen];
        const qsizetype offset = next[chosen];
        split(text.mid(pos, offset - pos), startColumn + int(pos), line, tokens, chosen + 1, present);
        if (delimiter.kept)
            tokens.append(Token(delimiter.text, line, startColumn + int(offset)));
        pos = offset + delimiter.text.size();
    }
}

} // namespace zav
