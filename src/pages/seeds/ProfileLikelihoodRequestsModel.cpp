#include "ProfileLikelihoodRequestsModel.h"

#include "pages/frame/HeaderFont.h"

#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"

#include <QBrush>
#include <QFont>

#include <vector>

namespace {

QBrush functionRowBrush()
{
    return QBrush(Qt::lightGray, Qt::SolidPattern);
}

} // namespace

ProfileLikelihoodRequestsModel::ProfileLikelihoodRequestsModel(pelk::ModelDefinition *model,
                                                               pelk::ProfileLikelihoods *parameterRequests,
                                                               pelk::ProfileLikelihoods *variableRequests,
                                                               QObject *parent)
    : QAbstractTableModel(parent),
      m_model(model),
      m_parameterRequests(parameterRequests),
      m_variableRequests(variableRequests),
      m_headers(pelk::ProfileLikelihoods::alphaLevels()),
      m_parameterRows(model->parameterCount()),
      m_variableRows(model->variableCount())
{
    using pelk::ModelDefinition;
    connect(model, &ModelDefinition::parameterInserted, this,
            &ProfileLikelihoodRequestsModel::insertParameter);
    connect(model, &ModelDefinition::parameterDeleted, this,
            &ProfileLikelihoodRequestsModel::deleteParameter);
    connect(model, &ModelDefinition::variableInserted, this, &ProfileLikelihoodRequestsModel::insertVariable);
    connect(model, &ModelDefinition::variableDeleted, this, &ProfileLikelihoodRequestsModel::deleteVariable);
    connect(model, &ModelDefinition::parameterRenamed, this,
            &ProfileLikelihoodRequestsModel::onParameterRenamed);
    connect(model, &ModelDefinition::variableRenamed, this,
            &ProfileLikelihoodRequestsModel::onVariableRenamed);
    connect(model, &QObject::destroyed, this, &ProfileLikelihoodRequestsModel::onModelDefinitionDestroyed);
}

int ProfileLikelihoodRequestsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_parameterRows + m_variableRows;
}

int ProfileLikelihoodRequestsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

pelk::ProfileLikelihoods *ProfileLikelihoodRequestsModel::requestsOf(int row) const
{
    return isParameterRow(row) ? m_parameterRequests : m_variableRequests;
}

QVariant ProfileLikelihoodRequestsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const int row = index.row();
    switch (role) {
    case Qt::CheckStateRole:
        return requestsOf(row)->isRequested(symbolIndex(row), index.column()) ? Qt::Checked : Qt::Unchecked;
    case Qt::BackgroundRole:
        return isParameterRow(row) ? QVariant() : QVariant(functionRowBrush());
    default:
        return QVariant(); // the cells carry no text
    }
}

QVariant ProfileLikelihoodRequestsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::FontRole)
        return boldHeaderFont();
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
            return m_headers.at(section);
        return QVariant();
    }
    if (section < 0 || section >= rowCount())
        return QVariant();
    if (role == Qt::BackgroundRole)
        return isParameterRow(section) ? QVariant() : QVariant(functionRowBrush());
    if (role != Qt::DisplayRole || !m_model)
        return QVariant();
    // During a row notification the names have already moved; look them up
    // only where they exist.
    const int i = symbolIndex(section);
    if (isParameterRow(section))
        return i < m_model->parameterCount() ? QVariant(m_model->parameterName(i)) : QVariant();
    return i < m_model->variableCount() ? QVariant(m_model->variableName(i)) : QVariant();
}

Qt::ItemFlags ProfileLikelihoodRequestsModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    if (m_locked || !index.isValid())
        return base;
    if (m_parameterRows == 1 && isParameterRow(index.row()))
        return base;
    return base | Qt::ItemIsUserCheckable;
}

bool ProfileLikelihoodRequestsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    // The same rules as for a click: nothing while locked, nor for a single
    // parameter.
    if (!(flags(index) & Qt::ItemIsUserCheckable))
        return false;
    const int row = index.row();
    pelk::ProfileLikelihoods *requests = requestsOf(row);
    const bool wanted = value.toInt() != Qt::Unchecked;
    if (requests->isRequested(symbolIndex(row), index.column()) != wanted)
        requests->toggleRequest(symbolIndex(row), index.column());
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

void ProfileLikelihoodRequestsModel::insertParameter(int i, QString)
{
    if (!m_model || i < 0 || i > m_parameterRows)
        return;
    beginInsertRows(QModelIndex(), i, i);
    m_parameterRequests->insertIndex(i);
    ++m_parameterRows;
    endInsertRows();
}

void ProfileLikelihoodRequestsModel::deleteParameter(int i)
{
    if (!m_model || i < 0 || i >= m_parameterRows)
        return;
    beginRemoveRows(QModelIndex(), i, i);
    m_parameterRequests->removeIndex(i);
    --m_parameterRows;
    endRemoveRows();
    if (m_parameterRows == 1)
        removeParameterRequests();
}

void ProfileLikelihoodRequestsModel::removeParameterRequests()
{
    if (m_parameterRequests->isEmpty())
        return;
    std::vector<pelk::ProfileLikelihoods::Key> keys;
    for (const auto &entry : *m_parameterRequests)
        keys.push_back(entry.first);
    for (const auto &[index, alphaIndex] : keys)
        m_parameterRequests->toggleRequest(index, alphaIndex);
    emit dataChanged(this->index(0, 0), this->index(0, columnCount() - 1), {Qt::CheckStateRole});
}

void ProfileLikelihoodRequestsModel::insertVariable(int i, QString)
{
    if (!m_model || i < 0 || i > m_variableRows)
        return;
    const int row = m_parameterRows + i;
    beginInsertRows(QModelIndex(), row, row);
    m_variableRequests->insertIndex(i);
    ++m_variableRows;
    endInsertRows();
}

void ProfileLikelihoodRequestsModel::deleteVariable(int i)
{
    if (!m_model || i < 0 || i >= m_variableRows)
        return;
    const int row = m_parameterRows + i;
    beginRemoveRows(QModelIndex(), row, row);
    m_variableRequests->removeIndex(i);
    --m_variableRows;
    endRemoveRows();
}

void ProfileLikelihoodRequestsModel::onLockWorkspace()
{
    m_locked = true;
}

void ProfileLikelihoodRequestsModel::onClearEstimates()
{
    m_locked = false;
}

void ProfileLikelihoodRequestsModel::onParameterRenamed(int i)
{
    emit headerDataChanged(Qt::Vertical, i, i);
}

void ProfileLikelihoodRequestsModel::onVariableRenamed(int i)
{
    emit headerDataChanged(Qt::Vertical, m_parameterRows + i, m_parameterRows + i);
}

void ProfileLikelihoodRequestsModel::onModelDefinitionDestroyed()
{
    // The window deletes the request containers with the model definition
    // and hands this page new ones; until then nothing is shown, so nothing
    // reads the containers that are gone.
    beginResetModel();
    m_model = nullptr;
    m_parameterRows = 0;
    m_variableRows = 0;
    endResetModel();
}
