// Typing into the cells of PELK's tables as the analyst does: open the
// cell's editor, type, end the edit with a key.
#pragma once

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

namespace support {

// Opens the editor of the cell, replaces its text and ends the edit with
// the key; returns false when the cell offered no editor.
inline bool typeInto(QAbstractItemView *view, const QModelIndex &index, const QString &text,
                     Qt::Key key = Qt::Key_Return)
{
    view->setCurrentIndex(index);
    // Tab or Return may already have opened this cell's editor.
    if (!view->indexWidget(index))
        view->edit(index);
    auto *editor = qobject_cast<QLineEdit *>(view->indexWidget(index));
    if (!editor)
        return false;
    editor->setFocus();
    editor->selectAll();
    if (text.isEmpty())
        editor->clear();
    else
        QTest::keyClicks(editor, text);
    QTest::keyClick(editor, key);
    // A plain line edit commits on Return through the event loop.
    QCoreApplication::processEvents();
    return true;
}

} // namespace support
