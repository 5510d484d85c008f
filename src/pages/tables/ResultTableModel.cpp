#include "ResultTableModel.h"

#include "pages/frame/HeaderFont.h"

#include <QFont>

#include <cmath>

const QString ResultTableModel::notAvailable = QStringLiteral("--na--");

ResultTableModel::ResultTableModel(const QStringList &columnHeaders, const QStringList &rowHeaders,
                                   const QList<QVariantList> &rows, QObject *parent)
    : QAbstractTableModel(parent), m_columnHeaders(columnHeaders), m_rowHeaders(rowHeaders), m_rows(rows)
{}

int ResultTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ResultTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columnHeaders.size());
}

QVariant ResultTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const QVariant cell = m_rows.at(index.row()).value(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return isNumberText(cell) ? QVariant(cell.value<NumberText>().text) : cell;
    case Qt::TextAlignmentRole:
        return holdsNumber(cell) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return QVariant();
    }
}

bool ResultTableModel::isNumberText(const QVariant &cell)
{
    return cell.metaType() == QMetaType::fromType<NumberText>();
}

bool ResultTableModel::holdsNumber(const QVariant &cell)
{
    return cell.typeId() == QMetaType::Double || isNumberText(cell);
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::FontRole)
        return QVariant();
    const QStringList &headers = orientation == Qt::Horizontal ? m_columnHeaders : m_rowHeaders;
    if (section < 0 || section >= headers.size())
        return QVariant();
    return role == Qt::DisplayRole ? QVariant(headers.at(section)) : QVariant(boldHeaderFont());
}

QVariant ResultTableModel::number(double value)
{
    return std::isfinite(value) ? QVariant(value) : numberText(notAvailable);
}

QVariant ResultTableModel::number(const std::optional<double> &value)
{
    return value ? number(*value) : numberText(notAvailable);
}

QVariant ResultTableModel::numberText(const QString &text)
{
    return QVariant::fromValue(NumberText {text});
}
