#include "ObservedExpectedModel.h"

namespace {

QList<QVariantList> cells(const QList<pelk::ObservedExpectedRow> &rows)
{
    QList<QVariantList> cells;
    for (const pelk::ObservedExpectedRow &r : rows)
        cells.append({r.category, ResultTableModel::number(r.observed), ResultTableModel::number(r.expected),
                      ResultTableModel::number(r.residual)});
    return cells;
}

} // namespace

ObservedExpectedModel::ObservedExpectedModel(const QList<pelk::ObservedExpectedRow> &rows, QObject *parent)
    : ResultTableModel({QStringLiteral("Category"), QStringLiteral("Observed"), QStringLiteral("Expected"),
                        QStringLiteral("Anscombe Residual")},
                       {}, cells(rows), parent),
      m_rows(rows)
{}

QString ObservedExpectedModel::pointToolTip(int row) const
{
    const pelk::ObservedExpectedRow &r = m_rows.at(row);
    return QStringLiteral("%1:  Observed: %2, Expected: %3")
        .arg(r.category, QString::number(r.observed, 'g', 6), QString::number(r.expected, 'g', 6));
}
