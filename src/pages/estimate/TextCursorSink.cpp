#include "TextCursorSink.h"

#include <QFont>
#include <QTextDocument>

TextCursorSink::TextCursorSink(QTextDocument *document) : m_document(document), m_cursor(document)
{
    // Both weights are set explicitly, so that a normal line written right
    // after a bold one does not inherit its weight from the cursor.
    m_normalFormat.setFontWeight(QFont::Normal);
    m_boldFormat.setFontWeight(QFont::Bold);
}

void TextCursorSink::write(const QString &text, Style style)
{
    m_cursor.insertText(text, style == Bold ? m_boldFormat : m_normalFormat);
}

void TextCursorSink::setColor(const QColor &color)
{
    if (color.isValid()) {
        m_normalFormat.setForeground(color);
        m_boldFormat.setForeground(color);
    } else {
        m_normalFormat.clearForeground();
        m_boldFormat.clearForeground();
    }
}

void TextCursorSink::restart()
{
    m_cursor = QTextCursor(m_document);
    m_cursor.movePosition(QTextCursor::Start);
}
