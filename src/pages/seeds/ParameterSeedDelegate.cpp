#include "ParameterSeedDelegate.h"

#include <QDoubleValidator>
#include <QLineEdit>

ParameterSeedDelegate::ParameterSeedDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QString ParameterSeedDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 6);
    return QStyledItemDelegate::displayText(value, locale);
}

QWidget *ParameterSeedDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                             const QModelIndex &) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFocusPolicy(Qt::StrongFocus);
    auto *validator = new QDoubleValidator(editor);
    validator->setNotation(QDoubleValidator::ScientificNotation);
    // The model converts with QString's C-locale conversion; typing follows it.
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    validator->setLocale(locale);
    editor->setValidator(validator);
    return editor;
}

void ParameterSeedDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *lineEdit = static_cast<QLineEdit *>(editor);
    const QVariant value = index.data(Qt::DisplayRole);
    lineEdit->setText(value.typeId() == QMetaType::Double
                          ? QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest)
                          : value.toString());
}

void ParameterSeedDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                         const QModelIndex &index) const
{
    auto *lineEdit = static_cast<QLineEdit *>(editor);
    if (!lineEdit->isModified())
        return;
    model->setData(index, lineEdit->text(), Qt::EditRole);
}
