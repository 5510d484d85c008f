#include "SymbolNameDelegate.h"

#include <QLineEdit>

SymbolNameDelegate::SymbolNameDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QWidget *SymbolNameDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                          const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
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
