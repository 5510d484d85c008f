// The parameter names of the model definition as a grid of five columns,
// filled row by row: the cell at row r, column c stands for parameter
// r * 5 + c (its linear position). The cell just after the last parameter
// is the entry cell, where a new name is typed; cells after it are empty
// and inert. There is always a row holding the entry cell, so the row
// count is parameterCount() / 5 + 1.
//
// Names follow the symbol-name rule and are unique among the parameters
// (not among the convenience functions: a function of the same name takes
// precedence when the model is validated). Refused names are announced by
// the error signals; the model definition is changed only through its own
// operations.
#pragma once

#include <QAbstractTableModel>
#include <QPointer>

namespace pelk {
class ModelDefinition;
}

class ParameterDefinitionsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int columnsPerRow = 5;

    explicit ParameterDefinitionsModel(pelk::ModelDefinition *model, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The parameter a cell stands for (r * 5 + c); it holds one when the
    // position is below parameterCount().
    static int linearPosition(const QModelIndex &index)
    {
        return index.row() * columnsPerRow + index.column();
    }
    bool holdsParameter(const QModelIndex &index) const;
    // Deletes the parameter of the cell; the later names move one cell back.
    void deleteParameter(const QModelIndex &index);

    bool isLocked() const { return m_locked; }

signals:
    void illegalSymbolNameError(QString name);
    void duplicateSymbolNameError(QString name);
    // Part of the page's interface, but nothing here makes a parameter an
    // abundance parameter (that is decided by a likelihood's unobserved
    // category), so no name rule raises it.
    void multipleAbundanceParametersError(QString name);

public slots:
    void onLockWorkspace();
    void onClearEstimates();

private:
    int parameterCount() const;

    // Null once the model definition is gone (a new workspace replaces it
    // before the page receives the next one): the grid is then empty.
    QPointer<pelk::ModelDefinition> m_model;
    bool m_locked = false;
};
