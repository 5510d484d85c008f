// The grid of profile-likelihood requests: one row per parameter, then one
// per convenience function (light gray), one check-box column per alpha
// level. The two request containers belong to the main window; this model
// toggles their keys and moves them with the symbols when the model
// definition inserts or deletes one, so a request (and any limits already
// found for it) stays with its symbol.
//
// A model with a single parameter cannot request an interval for it: the
// profile of the only parameter has nothing to maximise over.
#pragma once

#include <QAbstractTableModel>

namespace pelk {
class ModelDefinition;
class ProfileLikelihoods;
} // namespace pelk

class ProfileLikelihoodRequestsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    ProfileLikelihoodRequestsModel(pelk::ModelDefinition *model, pelk::ProfileLikelihoods *parameterRequests,
                                   pelk::ProfileLikelihoods *variableRequests, QObject *parent = nullptr);

    bool isLocked() const { return m_locked; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Check-state role on a checkable cell only: sets the request to the
    // given state.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

public slots:
    void onLockWorkspace();
    void onClearEstimates();
    void insertParameter(int i, QString name);
    void deleteParameter(int i);
    void insertVariable(int i, QString name);
    void deleteVariable(int i);

private slots:
    void onParameterRenamed(int i);
    void onVariableRenamed(int i);
    void onModelDefinitionDestroyed();

private:
    bool isParameterRow(int row) const { return row < m_parameterRows; }
    // The container of the row and the symbol's index in it.
    pelk::ProfileLikelihoods *requestsOf(int row) const;
    int symbolIndex(int row) const { return isParameterRow(row) ? row : row - m_parameterRows; }
    void removeParameterRequests();

    pelk::ModelDefinition *m_model;
    pelk::ProfileLikelihoods *m_parameterRequests;
    pelk::ProfileLikelihoods *m_variableRequests;
    const QStringList m_headers;
    bool m_locked = false;
    // The rows shown, changed only between the begin and end notifications
    // (the model definition has already changed when its signal arrives).
    int m_parameterRows = 0;
    int m_variableRows = 0;
};
