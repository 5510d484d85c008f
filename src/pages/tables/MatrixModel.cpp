#include "MatrixModel.h"

MatrixModel::MatrixModel(const QStringList &names, const zav::Matrix &matrix, QObject *parent)
    : ResultTableModel(names, parent), m_names(names), m_matrix(matrix)
{}

int MatrixModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant MatrixModel::cell(int row, int column) const
{
    // A matrix smaller than the parameter list (it cannot be, after a run
    // that estimated them all) shows its missing cells as not available.
    if (row >= m_matrix.rows() || column >= m_matrix.columns())
        return notAvailable;
    return number(m_matrix(row, column));
}

QVariant MatrixModel::rowHeader(int row) const
{
    return m_names.at(row);
}
