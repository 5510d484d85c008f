#include "expr/Tokenizer.h"

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
    m_firstDelimiter.fill(-1);
    for (qsizetype d = m_delimiters.size() - 1; d >= 0; --d) {
        const char16_t first = m_delimiters[d].text.front().unicode();
        if (first < m_firstDelimiter.size())
            m_firstDelimiter[first] = int(d);
    }
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
    TokenList tokens;
    tokenize(text, line, tokens);
    return tokens;
}

void Tokenizer::tokenize(QStringView text, int line, TokenList &tokens) const
{
    TokenViews views;
    tokenizeInto(text, line, views);
    if (views.isEmpty())
        return;
    for (const TokenView &view : std::as_const(views))
        tokens.append(view.toToken());
    tokens[tokens.size() - views.size()].firstOnLine = true;
    tokens.last().lastOnLine = true;
}

void Tokenizer::tokenizeInto(QStringView text, int line, TokenViews &tokens) const
{
    if (!m_commentMarker.isEmpty()) {
        const qsizetype cut = text.indexOf(m_commentMarker);
        if (cut >= 0)
            text = text.left(cut);
    }
    if (m_scanLinearly) {
        scan(text, line, tokens);
    } else {
        QVarLengthArray<bool, 16> present(m_delimiters.size());
        for (qsizetype d = 0; d < m_delimiters.size(); ++d)
            present[d] = find(text, m_delimiters[d].text, 0) >= 0;
        split(text, 1, line, tokens, 0, present.data());
    }
}

void Tokenizer::scan(QStringView text, int line, TokenViews &tokens) const
{
    qsizetype start = 0; // of the text not yet made a token
    qsizetype pos = 0;
    while (pos < text.size()) {
        const char16_t c = text[pos].unicode();
        const Delimiter *match = nullptr;
        const qsizetype first = c < m_firstDelimiter.size() ? m_firstDelimiter[c] : 0;
        if (first >= 0)
            for (qsizetype d = first; d < m_delimiters.size(); ++d) {
                const Delimiter &delimiter = m_delimiters[d];
                if (delimiter.text.front() == c
                    && (delimiter.text.size() == 1 || text.mid(pos).startsWith(delimiter.text))) {
                    match = &delimiter;
                    break;
                }
            }
        if (!match) {
            ++pos;
            continue;
        }
        if (pos > start)
            tokens.append(TokenView(text.mid(start, pos - start), line, int(start) + 1));
        if (match->kept)
            tokens.append(TokenView(text.mid(pos, match->text.size()), line, int(pos) + 1, &match->text));
        pos += match->text.size();
        start = pos;
    }
    if (pos > start)
        tokens.append(TokenView(text.mid(start, pos - start), line, int(start) + 1));
}

qsizetype Tokenizer::find(QStringView text, const QString &delimiter, qsizetype from)
{
    return delimiter.size() == 1 ? text.indexOf(delimiter.front(), from) : text.indexOf(delimiter, from);
}

void Tokenizer::split(QStringView text, int startColumn, int line, TokenViews &tokens,
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
            tokens.append(TokenView(text.mid(pos), line, startColumn + int(pos)));
            return;
        }
        const Delimiter &delimiter = m_delimiters[chosen];
        const qsizetype offset = next[chosen];
        split(text.mid(pos, offset - pos), startColumn + int(pos), line, tokens, chosen + 1, present);
        if (delimiter.kept)
            tokens.append(TokenView(text.mid(offset, delimiter.text.size()), line, startColumn + int(offset),
                                    &delimiter.text));
        pos = offset + delimiter.text.size();
    }
}

} // namespace zav
