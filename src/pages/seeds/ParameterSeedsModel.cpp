#include "ParameterSeedsModel.h"

#include "pages/frame/HeaderFont.h"

#include "model/ModelDefinition.h"

#include <QFont>

#include <cmath>

ParameterSeedsModel::ParameterSeedsModel(pelk::ModelDefinition *model, std::vector<double> *seeds,
                                         QObject *parent)
    : QAbstractTableModel(parent), m_model(model), m_seeds(seeds)
{
    connect(model, &pelk::ModelDefinition::parameterInserted, this, &ParameterSeedsModel::insertParameter);
    connect(model, &pelk::ModelDefinition::parameterDeleted, this, &ParameterSeedsModel::deleteParameter);
    connect(model, &pelk::ModelDefinition::parameterRenamed, this, &ParameterSeedsModel::onParameterRenamed);
    connect(model, &QObject::destroyed, this, &ParameterSeedsModel::onModelDefinitionDestroyed);
}

int ParameterSeedsModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_model)
        return 0;
    return int(m_seeds->size());
}

int ParameterSeedsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant ParameterSeedsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole)
        return QVariant();
    return (*m_seeds)[std::size_t(index.row())];
}

QVariant ParameterSeedsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::FontRole)
        return boldHeaderFont();
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section == 0 ? QVariant(m_header) : QVariant();
    if (!m_model || section < 0 || section >= m_model->parameterCount())
        return QVariant();
    return m_model->parameterName(section);
}

Qt::ItemFlags ParameterSeedsModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    if (m_locked || !index.isValid())
        return base;
    return base | Qt::ItemIsEditable;
}

bool ParameterSeedsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    bool ok = false;
    const double seed = value.toDouble(&ok);
    // An infinite or undefined start value would make every evaluation of
    // the likelihood meaningless.
    if (!ok || !std::isfinite(seed)) {
        emit illegalSeedError(index.row());
        return false;
    }
    (*m_seeds)[std::size_t(index.row())] = seed;
    emit dataChanged(index, index, {Qt::DisplayRole});
    return true;
}

void ParameterSeedsModel::insertParameter(int i, QString)
{
    if (!m_model || i < 0 || std::size_t(i) > m_seeds->size())
        return;
    beginInsertRows(QModelIndex(), i, i);
    m_seeds->insert(m_seeds->begin() + i, newParameterSeed);
    endInsertRows();
}

void ParameterSeedsModel::deleteParameter(int i)
{
    if (!m_model || i < 0 || std::size_t(i) >= m_seeds->size())
        return;
    beginRemoveRows(QModelIndex(), i, i);
    m_seeds->erase(m_seeds->begin() + i);
    endRemoveRows();
}

void ParameterSeedsModel::onLockWorkspace()
{
    m_locked = true;
}

void ParameterSeedsModel::onClearEstimates()
{
    m_locked = false;
}

void ParameterSeedsModel::onParameterRenamed(int i)
{
    emit headerDataChanged(Qt::Vertical, i, i);
}

void ParameterSeedsModel::onModelDefinitionDestroyed()
{
    // The window replaces the model definition and empties the seeds before
    // it hands this page the new ones; until then this model shows nothing
    // rather than a vector that no longer matches any parameter list.
    beginResetModel();
    m_model = nullptr;
    endResetModel();
}
