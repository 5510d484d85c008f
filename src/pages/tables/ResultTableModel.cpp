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
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    return m_rows.at(index.row()).value(index.column());
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
    return std::isfinite(value) ? QVariant(value) : QVariant(notAvailable);
}

QVariant ResultTableModel::number(const std::optional<double> &value)
{
    return value ? number(*value) : QVariant(notAvailable);
}
