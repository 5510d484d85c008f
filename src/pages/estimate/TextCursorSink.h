// Writes model findings and estimation log lines into a rich text document:
// a cursor that always sits at the end of what was written, with a normal
// and a bold character format. The Verify page and the Estimate page both
// hand it to the core's checks, which know nothing of widgets.
#pragma once

#include "model/MessageSink.h"

#include <QColor>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;

class TextCursorSink : public pelk::MessageSink
{
public:
    explicit TextCursorSink(QTextDocument *document);

    void write(const QString &text, Style style) override;

    // The colour of everything written from now on; an invalid colour
    // leaves the text in the widget's palette colour.
    void setColor(const QColor &color);
    // Puts the cursor at the start of the document, after it was cleared.
    void restart();

    const QTextCursor &cursor() const { return m_cursor; }

private:
    QTextDocument *m_document;
    QTextCursor m_cursor;
    QTextCharFormat m_normalFormat;
    QTextCharFormat m_boldFormat;
};
