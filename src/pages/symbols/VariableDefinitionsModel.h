// The convenience functions of the model definition as a two-column table,
// "Name" and "Definition", one row per function and an entry row at the
// end. A new function is entered name first: the entry row's definition
// cell becomes editable once a valid, unused name has been typed (the
// pending name, kept here until the definition arrives).
//
// Names follow the symbol-name rule and are unique among parameters and
// functions together. Definitions arrive from an EquationDelegate as an
// EquationDefinition; only a parsed formula is accepted.
#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

namespace pelk {
class ModelDefinition;
}

class VariableDefinitionsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn = 0, DefinitionColumn = 1 };

    explicit VariableDefinitionsModel(pelk::ModelDefinition *model, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The row after the last function.
    int entryRow() const;
    QString pendingName() const { return m_pendingName; }
    // Deletes the function of row r; the entry row cannot be deleted.
    void deleteFunction(int row);

    bool isLocked() const { return m_locked; }

signals:
    void duplicateSymbolNameError(QString name);
    void illegalSymbolNameError(QString name);

public slots:
    void onLockWorkspace();
    void onClearEstimates();

private:
    bool setName(int row, const QString &name);
    bool setDefinition(int row, const QVariant &value);
    bool isNameTaken(const QString &name) const;

    // Null once the model definition is gone (a new workspace replaces it
    // before the page receives the next one): the table is then empty.
    QPointer<pelk::ModelDefinition> m_model;
    const QStringList m_headerLabels {"Name", "Definition"};
    QString m_pendingName;
    bool m_locked = false;
};
