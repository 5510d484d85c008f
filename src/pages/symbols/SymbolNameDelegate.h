// Edits the name of a parameter or convenience function in a plain line
// edit. The name rules live in the item models, which refuse and announce
// a bad name; the delegate only carries the text.
#pragma once

#include <QStyledItemDelegate>

class SymbolNameDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit SymbolNameDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};
