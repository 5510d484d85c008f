// The seeds table: one row per parameter, one column "Seed". The seeds
// vector belongs to the main window; this model only translates it for the
// view and keeps it in step with the parameters of the model definition
// (a parameter inserted at i gets the seed 0.5 at i; a deleted one takes
// its seed with it), so the vector always holds one seed per parameter.
#pragma once

#include <QAbstractTableModel>

#include <vector>

namespace pelk {
class ModelDefinition;
}

class ParameterSeedsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The seed a new parameter starts from.
    static constexpr double newParameterSeed = 0.5;

    ParameterSeedsModel(pelk::ModelDefinition *model, std::vector<double> *seeds, QObject *parent = nullptr);

    bool isLocked() const { return m_locked; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Edit role only; a value that is not a finite number is refused with
    // illegalSeedError. The lock does not apply here: the clipboard paste
    // and the window's copy of the estimates also come through this call.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    void illegalSeedError(int i);

public slots:
    void insertParameter(int i, QString name);
    void deleteParameter(int i);
    void onLockWorkspace();
    void onClearEstimates();

private slots:
    void onParameterRenamed(int i);
    void onModelDefinitionDestroyed();

private:
    pelk::ModelDefinition *m_model;
    std::vector<double> *m_seeds;
    const QString m_header = "Seed";
    bool m_locked = false;
};
