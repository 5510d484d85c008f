// A square matrix over the parameters, with the parameter names as both
// row and column headers.
#pragma once

#include "ResultTableModel.h"

#include "optim/Matrix.h"

class MatrixModel : public ResultTableModel
{
    Q_OBJECT

public:
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;

protected:
    MatrixModel(const QStringList &names, const zav::Matrix &matrix, QObject *parent);

    QVariant cell(int row, int column) const override;
    QVariant rowHeader(int row) const override;

private:
    QStringList m_names;
    zav::Matrix m_matrix;
};
