#include "ResultTableModel.h"

#include "pages/frame/HeaderFont.h"

#include <QFont>

#include <cmath>

const QString ResultTableModel::notAvailable = QStringLiteral("--na--");

ResultTableModel::ResultTableModel(const QStringList &columnHeaders, QObject *parent)
    : QAbstractTableModel(parent), m_columnHeaders(columnHeaders)
{}

int ResultTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columnHeaders.size());
}

QVariant ResultTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    return cell(index.row(), index.column());
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::FontRole)
        return QVariant();
    QVariant text;
    if (orientation == Qt::Horizontal) {
        if (section >= 0 && section < m_columnHeaders.size())
            text = m_columnHeaders.at(section);
    } else if (section >= 0 && section < rowCount()) {
        text = rowHeader(section);
    }
    if (!text.isValid() || role == Qt::DisplayRole)
        return text;
    return boldHeaderFont();
}

QVariant ResultTableModel::number(double value)
{
    return std::isfinite(value) ? QVariant(value) : QVariant(notAvailable);
}

QVariant ResultTableModel::number(const std::optional<double> &value)
{
    return value ? number(*value) : QVariant(notAvailable);
}
