// Edits the name of a parameter or convenience function in a plain line
// edit. The name rules live in the item models, which refuse and announce
// a bad name; the delegate only carries the text. An empty editor shows a
// placeholder saying what kind of name the cell expects.
#pragma once

#include <QStyledItemDelegate>

class SymbolNameDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    SymbolNameDelegate(QObject *parent, const QString &placeholder);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    QString m_placeholder;
};
