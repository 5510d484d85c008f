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
    m_scanLinearly = canScanLinearly(m_delimiters);
    m_startsDelimiter.fill(false);
    for (const Delimiter &d : std::as_const(m_delimiters))
        if (d.text.front().unicode() < m_startsDelimiter.size())
            m_startsDelimiter[d.text.front().unicode()] = true;
}

bool Tokenizer::canScanLinearly(const QList<Delimiter> &delimiters)
{
    for (const Delimiter &a : delimiters)
        for (const Delimiter &b : delimiters) {
            if (a.text == b.text)
                continue;
            // A proper end of a that is a proper beginning of b.
            for (qsizetype length = 1; length < std::min(a.text.size(), b.text.size()); ++length)
                if (QStringView(a.text).right(length) == QStringView(b.text).left(length))
                    return false;
        }
    return true;
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
    TokenList tokens;
    if (m_scanLinearly) {
        scan(view, line, tokens);
    } else {
        QVarLengthArray<bool, 16> present(m_delimiters.size());
        for (qsizetype d = 0; d < m_delimiters.size(); ++d)
            present[d] = find(view, m_delimiters[d].text, 0) >= 0;
        split(view, 1, line, tokens, 0, present.data());
    }
    if (!tokens.isEmpty()) {
        tokens.first().firstOnLine = true;
        tokens.last().lastOnLine = true;
    }
    return tokens;
}

void Tokenizer::scan(QStringView text, int line, TokenList &tokens) const
{
    qsizetype start = 0; // of the text not yet made a token
    qsizetype pos = 0;
    while (pos < text.size()) {
        const char16_t c = text[pos].unicode();
        const Delimiter *match = nullptr;
        if (c >= m_startsDelimiter.size() || m_startsDelimiter[c])
            for (const Delimiter &delimiter : m_delimiters)
                if (delimiter.text.front() == c && text.mid(pos).startsWith(delimiter.text)) {
                    match = &delimiter;
                    break;
                }
        if (!match) {
            ++pos;
            continue;
        }
        if (pos > start)
            tokens.append(Token(text.mid(start, pos - start).toString(), line, int(start) + 1));
        if (match->kept)
            tokens.append(Token(match->text, line, int(pos) + 1));
        pos += match->text.size();
        start = pos;
    }
    if (pos > start)
        tokens.append(Token(text.mid(start, pos - start).toString(), line, int(start) + 1));
}

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
