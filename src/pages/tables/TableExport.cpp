#include "TableExport.h"

#include <QAbstractItemModel>
#include <QItemSelectionRange>
#include <QVariant>

namespace {

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

QString header(const QAbstractItemModel &model, int section, Qt::Orientation orientation)
{
    return model.headerData(section, orientation, Qt::DisplayRole).toString();
}

QString cell(const QAbstractItemModel &model, int row, int column, int significantDigits)
{
    return TableExport::cellText(model.index(row, column).data(Qt::DisplayRole), significantDigits);
}

} // namespace

QString TableExport::cellText(const QVariant &value, int significantDigits)
{
    if (isNumber(value))
        return QString::number(value.toDouble(), 'g', significantDigits);
    return value.toString();
}

QString TableExport::commaSeparated(const QAbstractItemModel &model, int significantDigits)
{
    QStringList headers;
    for (int column = 0; column < model.columnCount(); ++column)
        headers << header(model, column, Qt::Horizontal);
    QString text = headers.join(u',') + u'\n';
    for (int row = 0; row < model.rowCount(); ++row) {
        text += header(model, row, Qt::Vertical);
        for (int column = 0; column < model.columnCount(); ++column)
            text += u',' + cell(model, row, column, significantDigits);
        text += u'\n';
    }
    return text;
}

QString TableExport::tabSeparated(const QAbstractItemModel &model, int significantDigits)
{
    QString text;
    for (int column = 0; column < model.columnCount(); ++column)
        text += u'\t' + header(model, column, Qt::Horizontal);
    text += u'\n';
    for (int row = 0; row < model.rowCount(); ++row) {
        text += header(model, row, Qt::Vertical);
        for (int column = 0; column < model.columnCount(); ++column)
            text += u'\t' + cell(model, row, column, significantDigits);
        text += u'\n';
    }
    return text;
}

QString TableExport::range(const QAbstractItemModel &model, const QItemSelectionRange &range,
                           int significantDigits)
{
    QString text;
    for (int row = range.top(); row <= range.bottom(); ++row) {
        QStringList cells;
        for (int column = range.left(); column <= range.right(); ++column)
            cells << cell(model, row, column, significantDigits);
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}
