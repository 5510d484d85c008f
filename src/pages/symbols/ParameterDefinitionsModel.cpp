#include "ParameterDefinitionsModel.h"

#include "pages/frame/HeaderFont.h"

#include "expr/SymbolValidator.h"
#include "io/FileTextRules.h"
#include "model/ModelDefinition.h"

#include <QFont>

namespace {

} // namespace

ParameterDefinitionsModel::ParameterDefinitionsModel(pelk::ModelDefinition *model, QObject *parent)
    : QAbstractTableModel(parent), m_model(model)
{
    connect(model, &QObject::destroyed, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int ParameterDefinitionsModel::parameterCount() const
{
    return m_model ? m_model->parameterCount() : 0;
}

int ParameterDefinitionsModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_model)
        return 0;
    return parameterCount() / columnsPerRow + 1;
}

int ParameterDefinitionsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnsPerRow;
}

bool ParameterDefinitionsModel::holdsParameter(const QModelIndex &index) const
{
    return index.isValid() && linearPosition(index) < parameterCount();
}

QVariant ParameterDefinitionsModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !holdsParameter(index))
        return QVariant();
    return m_model->parameterName(linearPosition(index));
}

QVariant ParameterDefinitionsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::FontRole)
        return boldHeaderFont();
    if (role == Qt::DisplayRole && orientation == Qt::Vertical)
        return section * columnsPerRow + 1; // the number of the row's first parameter
    return QVariant();
}

Qt::ItemFlags ParameterDefinitionsModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    if (m_locked || !index.isValid() || linearPosition(index) > parameterCount())
        return base;
    return base | Qt::ItemIsEditable;
}

bool ParameterDefinitionsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !m_model)
        return false;
    const int position = linearPosition(index);
    if (position > parameterCount())
        return false;

    // Not trimmed: a blank inside or around a name makes it illegal.
    const QString name = value.toString();
    if (name.isEmpty())
        return false;
    // A name must also survive a save: the file and formula readers must
    // read it back as one symbol.
    if (!pelk::SymbolValidator().isValid(name) || !pelk::FileTextRules::isWritableSymbolName(name)) {
        emit illegalSymbolNameError(name);
        return false;
    }
    if (name == index.data(Qt::DisplayRole).toString())
        return false;
    if (m_model->hasParameter(name)) {
        emit duplicateSymbolNameError(name);
        return false;
    }

    if (position < parameterCount()) {
        m_model->renameParameter(position, name);
    } else if ((parameterCount() + 1) % columnsPerRow == 0) {
        // The new parameter fills the last row: a fresh row holds the entry cell.
        const int newRow = rowCount();
        beginInsertRows(QModelIndex(), newRow, newRow);
        m_model->insertParameter(parameterCount(), name);
        endInsertRows();
    } else {
        m_model->insertParameter(parameterCount(), name);
    }
    emit dataChanged(index, index);
    return true;
}

void ParameterDefinitionsModel::deleteParameter(const QModelIndex &index)
{
    if (!holdsParameter(index))
        return;
    const int firstChangedRow = index.row();
    if (parameterCount() % columnsPerRow == 0) {
        // The entry cell moves back into the row before: the last row goes.
        const int lastRow = rowCount() - 1;
        beginRemoveRows(QModelIndex(), lastRow, lastRow);
        m_model->deleteParameter(linearPosition(index));
        endRemoveRows();
    } else {
        m_model->deleteParameter(linearPosition(index));
    }
    // Every later name has moved one cell back.
    if (firstChangedRow < rowCount())
        emit dataChanged(this->index(firstChangedRow, 0), this->index(rowCount() - 1, columnsPerRow - 1));
}

void ParameterDefinitionsModel::onLockWorkspace()
{
    m_locked = true;
}

void ParameterDefinitionsModel::onClearEstimates()
{
    m_locked = false;
}
