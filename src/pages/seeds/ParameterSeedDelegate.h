// The editor of one seed: a line edit that accepts double syntax only. A
// seed is shown in the general format with 6 significant digits, but the
// editor starts from the shortest text that reads back as the stored value,
// so confirming an untouched cell never rounds the seed.
#pragma once

#include <QStyledItemDelegate>

class ParameterSeedDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ParameterSeedDelegate(QObject *parent = nullptr);

    QString displayText(const QVariant &value, const QLocale &locale) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    // Sends the typed text to the model's setData; an editor the analyst did
    // not type into changes nothing.
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

signals:
    // Not emitted: the model reports refused seeds through illegalSeedError.
    void test(QString msg);
};
