// The categories of one multinomial likelihood as a table of three columns:
// label, probability formula and observed count. It translates between the
// view and the model definition, which owns the categories, and the
// window's category-counts map, which owns the counts.
//
// Rows 0 .. n-1 are the regular categories. The last row, n, is the entry
// row: it shows the unobserved category when the likelihood has one, and
// otherwise the category being typed in. A label typed there waits (the
// pending label) until a probability that parses completes the category.
// A pending label "(<name>)", where name is a parameter or convenience
// function, makes the row the unobserved category, whose count is that
// abundance minus the observed total: shown italic, with "<name> - ..." in
// the counts column.
//
// Edits that would break the model are refused and announced by a signal:
// a label used anywhere in the model, a label the workspace file could not
// read back, a count that is not a whole number of at least 0.
#pragma once

#include <QAbstractTableModel>
#include <QMap>
#include <QStringList>

namespace pelk {
class ModelDefinition;
}

class LikelihoodDefinitionModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { LabelColumn = 0, ProbabilityColumn = 1, CountsColumn = 2 };

    LikelihoodDefinitionModel(int likelihoodId, pelk::ModelDefinition *model,
                              QMap<QString, int> *categoryCounts, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Deletes the category of the row: a regular category (its count stays
    // in the map), or the unobserved category of the entry row. The entry
    // row without one has nothing to delete.
    void deleteRow(int row);

    int likelihoodId() const { return m_likelihoodId; }
    bool isLocked() const { return m_locked; }
    QString pendingLabel() const { return m_pendingLabel; }
    QString pendingUnobservedName() const { return m_pendingUnobservedName; }

signals:
    void duplicateCategoryLabelError(QString categoryLabel);
    void illegalCategoryLabelError(QString categoryLabel);
    void illegalCountsError(QString countsString);
    // Never emitted: while a likelihood has its unobserved category, the
    // entry row shows it and its label cannot be edited, so no second one
    // can be typed in.
    void multipleUnobservedCategoriesError();
    void categoryCountsChanged();
    // The model definition announces every category change except this one.
    void unobservedCategoryDeleted();

public slots:
    void onLockWorkspace();
    void onCategoryCountsLoaded();
    void onClearEstimates();

private:
    int categoryCount() const;
    int entryRow() const { return categoryCount(); }
    bool hasUnobservedCategory() const;
    bool entryRowIsUnobserved() const;
    // The symbol name inside "(...)" when it names a parameter or a
    // convenience function, else empty.
    QString unobservedNameOf(const QString &label) const;
    // False, with the error announced, for a label no category may take:
    // one used anywhere in the model, or one the file could not read back.
    bool acceptsNewLabel(const QString &label);
    void emitRowChanged(int row);
    // Parameters and functions come and go on other pages: a pending
    // "(<name>)" follows them.
    void onSymbolsChanged();
    void onLikelihoodDeleted();

    QVariant displayData(int row, int column) const;
    bool setLabel(int row, const QString &text);
    bool setPendingLabel(const QString &text);
    bool setProbability(int row, const QVariant &value);
    bool setCount(int row, const QString &text);

    int m_likelihoodId;
    pelk::ModelDefinition *m_model;
    QMap<QString, int> *m_categoryCounts;
    QString m_pendingLabel;
    QString m_pendingUnobservedName;
    const QStringList m_headerLabels {"Label", "Probability", "Counts"};
    bool m_locked = false;
};
