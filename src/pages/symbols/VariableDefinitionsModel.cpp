#include "VariableDefinitionsModel.h"

#include "pages/frame/HeaderFont.h"

#include "expr/SymbolValidator.h"
#include "io/FileTextRules.h"
#include "model/ModelDefinition.h"
#include "pages/equation/EquationDefinition.h"

#include <QFont>

VariableDefinitionsModel::VariableDefinitionsModel(pelk::ModelDefinition *model, QObject *parent)
    : QAbstractTableModel(parent), m_model(model)
{
    connect(model, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_pendingName.clear();
        endResetModel();
    });
}

int VariableDefinitionsModel::entryRow() const
{
    return m_model ? m_model->variableCount() : 0;
}

int VariableDefinitionsModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_model)
        return 0;
    return entryRow() + 1;
}

int VariableDefinitionsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headerLabels.size());
}

QVariant VariableDefinitionsModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() > entryRow())
        return QVariant();
    const bool entry = index.row() == entryRow();
    if (index.column() == NameColumn)
        return entry ? m_pendingName : m_model->variableName(index.row());
    if (entry)
        return QVariant();
    return m_model->variableDefinition(index.row());
}

QVariant VariableDefinitionsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::FontRole)
        return boldHeaderFont();
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return m_headerLabels.value(section);
    return section + 1;
}

Qt::ItemFlags VariableDefinitionsModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    if (m_locked || !index.isValid() || index.row() > entryRow())
        return base;
    if (index.row() < entryRow() || index.column() == NameColumn)
        return base | Qt::ItemIsEditable;
    // A definition can only be given to a function that has a name.
    return m_pendingName.isEmpty() ? base : base | Qt::ItemIsEditable;
}

bool VariableDefinitionsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !m_model || index.row() > entryRow())
        return false;
    const bool accepted = index.column() == NameColumn ? setName(index.row(), value.toString())
                                                       : setDefinition(index.row(), value);
    if (accepted)
        emit dataChanged(index, index);
    return accepted;
}

bool VariableDefinitionsModel::isNameTaken(const QString &name) const
{
    return m_model->hasVariable(name) || m_model->hasParameter(name);
}

bool VariableDefinitionsModel::setName(int row, const QString &name)
{
    if (name.isEmpty())
        return false;
    // A name must also survive a save: the file and formula readers must
    // read it back as one symbol.
    if (!pelk::SymbolValidator().isValid(name) || !pelk::FileTextRules::isWritableSymbolName(name)) {
        emit illegalSymbolNameError(name);
        return false;
    }
    if (row == entryRow()) {
        if (isNameTaken(name)) {
            emit duplicateSymbolNameError(name);
            return false;
        }
        m_pendingName = name;
        // The definition cell of the entry row has just become editable.
        const QModelIndex definition = index(row, DefinitionColumn);
        emit dataChanged(definition, definition);
        return true;
    }
    if (name == m_model->variableName(row))
        return false;
    if (isNameTaken(name)) {
        emit duplicateSymbolNameError(name);
        return false;
    }
    m_model->renameVariable(row, name);
    return true;
}

bool VariableDefinitionsModel::setDefinition(int row, const QVariant &value)
{
    if (!value.canConvert<EquationDefinition>())
        return false;
    const auto definition = value.value<EquationDefinition>();
    if (!definition.isComplete())
        return false;
    if (row < entryRow()) {
        m_model->redefineVariable(row, definition.text, definition.cloneEquation());
        return true;
    }
    if (m_pendingName.isEmpty())
        return false;
    // The name was free when it was typed; a parameter may have taken it since.
    if (isNameTaken(m_pendingName)) {
        const QString taken = m_pendingName;
        m_pendingName.clear();
        emit dataChanged(index(row, NameColumn), index(row, DefinitionColumn));
        emit duplicateSymbolNameError(taken);
        return false;
    }
    // The edited row becomes the new function; a fresh entry row follows it.
    const int position = m_model->variableCount();
    beginInsertRows(QModelIndex(), position + 1, position + 1);
    m_model->insertVariable(position, m_pendingName, definition.text, definition.cloneEquation());
    m_pendingName.clear();
    endInsertRows();
    return true;
}

void VariableDefinitionsModel::deleteFunction(int row)
{
    if (!m_model || row < 0 || row >= entryRow())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_model->deleteVariable(row);
    endRemoveRows();
}

void VariableDefinitionsModel::onLockWorkspace()
{
    m_locked = true;
}

void VariableDefinitionsModel::onClearEstimates()
{
    m_locked = false;
}
