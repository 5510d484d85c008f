#include "EquationDelegate.h"

#include "EquationLineEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>

EquationDelegate::EquationDelegate(QObject *parent, const QString &placeholder)
    : QStyledItemDelegate(parent), m_placeholder(placeholder)
{
    EquationDefinition::registerMetaType();
}

QWidget *EquationDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &index) const
{
    auto *editor = new EquationLineEdit(parent);
    editor->setFocusPolicy(Qt::StrongFocus);
    editor->setPlaceholderText(m_placeholder);
    editor->setText(index.data(Qt::DisplayRole).toString());
    editor->end(false);
    m_editor = editor;
    return editor;
}

void EquationDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *equationEditor = static_cast<EquationLineEdit *>(editor);
    equationEditor->setText(index.data(Qt::DisplayRole).toString());
    equationEditor->clearEquation();
}

void EquationDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    const auto *equationEditor = static_cast<EquationLineEdit *>(editor);
    model->setData(index, QVariant::fromValue(equationEditor->definition()), Qt::EditRole);
}

void EquationDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    if (editor == m_editor)
        m_editor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

void EquationDelegate::insertText(QString text)
{
    if (m_editor)
        m_editor->insertSymbol(text);
}

bool EquationDelegate::commit(EquationLineEdit *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor->text().isEmpty())
        return false;
    QString message;
    if (!editor->parseText(&message)) {
        emit validationError(message);
        return false;
    }
    // The parse report goes first: should the model refuse the formula for
    // a reason of its own, its message must not be cleared by this one.
    emit validationOK();
    emit commitData(editor);
    emit closeEditor(editor, hint);
    return true;
}

bool EquationDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<EquationLineEdit *>(object);
    if (!editor)
        return QStyledItemDelegate::eventFilter(object, event);

    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        QAbstractItemDelegate::EndEditHint hint;
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Return:
        // The keypad's Enter ends an edit as Return does; left to the
        // default handling it would discard the unparsed text.
        case Qt::Key_Enter:
            hint = QAbstractItemDelegate::EditNextItem;
            break;
        case Qt::Key_Backtab:
            hint = QAbstractItemDelegate::EditPreviousItem;
            break;
        case Qt::Key_Control:
            editor->setControlHeld(true);
            return true;
        default:
            return QStyledItemDelegate::eventFilter(object, event);
        }
        if (commit(editor, hint) && editor == m_editor)
            m_editor = nullptr;
        return true;
    }

    if (event->type() == QEvent::KeyRelease) {
        if (static_cast<QKeyEvent *>(event)->key() != Qt::Key_Control)
            return false;
        editor->setControlHeld(false);
        return true;
    }

    if (event->type() == QEvent::FocusOut) {
        // The line edit's own context menu takes the focus for a moment;
        // the edit goes on.
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::PopupFocusReason)
            return false;
        editor->setControlHeld(false);
        const bool committed = commit(editor, QAbstractItemDelegate::NoHint);
        if (editor == m_editor)
            m_editor = nullptr;
        if (committed)
            return false;
        // The default handling hands the editor's data over and closes the
        // editor: after a failed parse that is a definition without a tree,
        // which the model refuses, so the edit is discarded.
        return QStyledItemDelegate::eventFilter(object, event);
    }

    return QStyledItemDelegate::eventFilter(object, event);
}
