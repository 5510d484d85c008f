#include "TextCellDelegate.h"

#include <QLineEdit>

TextCellDelegate::TextCellDelegate(QObject *parent, const QString &placeholder)
    : QStyledItemDelegate(parent), m_placeholder(placeholder)
{}

QWidget *TextCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFocusPolicy(Qt::StrongFocus);
    editor->setPlaceholderText(m_placeholder);
    editor->setText(index.data(Qt::DisplayRole).toString());
    return editor;
}

void TextCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    // setText() leaves the cursor at the end.
    static_cast<QLineEdit *>(editor)->setText(index.data(Qt::DisplayRole).toString());
}

void TextCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    model->setData(index, static_cast<QLineEdit *>(editor)->text(), Qt::EditRole);
}
