// A table cell edited as plain text: the editor is a line edit showing the
// cell's display text with the cursor at the end, and the text it holds
// when the edit ends goes to the item model, which decides whether to take
// it. Category labels and counts are edited this way. An empty editor shows
// a placeholder saying what the cell expects.
#pragma once

#include <QStyledItemDelegate>

class TextCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    TextCellDelegate(QObject *parent, const QString &placeholder);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    QString m_placeholder;
};
