#include "SymbolNameDelegate.h"

#include <QLineEdit>

SymbolNameDelegate::SymbolNameDelegate(QObject *parent, const QString &placeholder)
    : QStyledItemDelegate(parent), m_placeholder(placeholder)
{}

QWidget *SymbolNameDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                          const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setPlaceholderText(m_placeholder);
    editor->setText(index.data(Qt::DisplayRole).toString());
    editor->end(false);
    return editor;
}

void SymbolNameDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    static_cast<QLineEdit *>(editor)->setText(index.data(Qt::DisplayRole).toString());
}

void SymbolNameDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                      const QModelIndex &index) const
{
    model->setData(index, static_cast<QLineEdit *>(editor)->text(), Qt::EditRole);
}
