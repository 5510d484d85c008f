#include "ObservedExpectedModel.h"

ObservedExpectedModel::ObservedExpectedModel(const QList<pelk::ObservedExpectedRow> &rows, QObject *parent)
    : ResultTableModel({QStringLiteral("Category"), QStringLiteral("Observed"), QStringLiteral("Expected"),
                        QStringLiteral("Anscombe Residual")},
                       parent),
      m_rows(rows)
{}

int ObservedExpectedModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QString ObservedExpectedModel::pointToolTip(int row) const
{
    const pelk::ObservedExpectedRow &r = m_rows.at(row);
    return QStringLiteral("%1:  Observed: %2, Expected: %3")
        .arg(r.category, QString::number(r.observed, 'g', 6), QString::number(r.expected, 'g', 6));
}

QVariant ObservedExpectedModel::cell(int row, int column) const
{
    const pelk::ObservedExpectedRow &r = m_rows.at(row);
    switch (column) {
    case 0:
        return r.category;
    case 1:
        return number(r.observed);
    case 2:
        return number(r.expected);
    default:
        return number(r.residual);
    }
}

QVariant ObservedExpectedModel::rowHeader(int) const
{
    return QVariant();
}
