#include "LikelihoodDefinitionModel.h"

#include "pages/frame/HeaderFont.h"

#include "expr/NumberText.h"
#include "io/FileTextRules.h"
#include "model/ModelDefinition.h"
#include "pages/equation/EquationDefinition.h"

#include <QFont>

#include <optional>

namespace {

// A count is a whole number of at least 0; blanks around it are allowed.
std::optional<int> countOf(const QString &text)
{
    const std::optional<int> count = zav::toInt(text.trimmed());
    if (!count || *count < 0)
        return std::nullopt;
    return count;
}

QFont italicFont()
{
    QFont font;
    font.setItalic(true);
    return font;
}

} // namespace

LikelihoodDefinitionModel::LikelihoodDefinitionModel(int likelihoodId, pelk::ModelDefinition *model,
                                                     QMap<QString, int> *categoryCounts, QObject *parent)
    : QAbstractTableModel(parent),
      m_likelihoodId(likelihoodId),
      m_model(model),
      m_categoryCounts(categoryCounts)
{
    EquationDefinition::registerMetaType();
    using pelk::ModelDefinition;
    connect(model, &ModelDefinition::parameterInserted, this, &LikelihoodDefinitionModel::onSymbolsChanged);
    connect(model, &ModelDefinition::parameterRenamed, this, &LikelihoodDefinitionModel::onSymbolsChanged);
    connect(model, &ModelDefinition::parameterDeleted, this, &LikelihoodDefinitionModel::onSymbolsChanged);
    connect(model, &ModelDefinition::variableInserted, this, &LikelihoodDefinitionModel::onSymbolsChanged);
    connect(model, &ModelDefinition::variableRenamed, this, &LikelihoodDefinitionModel::onSymbolsChanged);
    connect(model, &ModelDefinition::variableDeleted, this, &LikelihoodDefinitionModel::onSymbolsChanged);
    connect(model, &ModelDefinition::likelihoodDeleted, this,
            &LikelihoodDefinitionModel::onLikelihoodDeleted);
}

// --- shape ------------------------------------------------------------------------

int LikelihoodDefinitionModel::categoryCount() const
{
    return m_model->categoryCount(m_likelihoodId);
}

bool LikelihoodDefinitionModel::hasUnobservedCategory() const
{
    return m_model->hasUnobservedCategory(m_likelihoodId);
}

bool LikelihoodDefinitionModel::entryRowIsUnobserved() const
{
    return hasUnobservedCategory() || !m_pendingUnobservedName.isEmpty();
}

int LikelihoodDefinitionModel::rowCount(const QModelIndex &parent) const
{
    // A likelihood deleted while its page waits for its own deletion has
    // no rows rather than an entry row.
    if (parent.isValid() || !m_model->isMultinomial(m_likelihoodId))
        return 0;
    return categoryCount() + 1;
}

int LikelihoodDefinitionModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headerLabels.size());
}

QVariant LikelihoodDefinitionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::FontRole)
        return boldHeaderFont();
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    return m_headerLabels.value(section);
}

QVariant LikelihoodDefinitionModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    if (role == Qt::DisplayRole)
        return displayData(index.row(), index.column());
    if (role == Qt::FontRole && index.row() == entryRow() && entryRowIsUnobserved())
        return italicFont();
    return QVariant();
}

QVariant LikelihoodDefinitionModel::displayData(int row, int column) const
{
    const int n = categoryCount();
    const bool entry = row == n;
    switch (column) {
    case LabelColumn:
        if (!entry)
            return m_model->categoryLabel(m_likelihoodId, row);
        if (hasUnobservedCategory())
            return "(" + m_model->abundanceSymbolName(m_likelihoodId) + ")";
        if (m_pendingUnobservedName.isEmpty())
            return m_pendingLabel;
        return "(" + m_pendingUnobservedName + ")";
    case ProbabilityColumn:
        if (!entry || hasUnobservedCategory())
            return m_model->categoryProbability(m_likelihoodId, row);
        return QVariant();
    case CountsColumn:
        if (!entry)
            return m_categoryCounts->value(m_model->categoryLabel(m_likelihoodId, row), 0);
        if (!m_pendingUnobservedName.isEmpty())
            return m_pendingUnobservedName + " - ...";
        if (hasUnobservedCategory())
            return m_model->abundanceSymbolName(m_likelihoodId) + " - ...";
        return QVariant();
    }
    return QVariant();
}

Qt::ItemFlags LikelihoodDefinitionModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    if (m_locked || !index.isValid())
        return base;
    const int n = categoryCount();
    if (index.row() < n)
        return base | Qt::ItemIsEditable;
    if (index.row() > n)
        return base;
    bool editable = false;
    if (hasUnobservedCategory())
        editable = index.column() == ProbabilityColumn;
    else if (index.column() == LabelColumn)
        editable = true;
    else if (index.column() == ProbabilityColumn)
        editable = !m_pendingLabel.isEmpty();
    return editable ? base | Qt::ItemIsEditable : base;
}

// --- editing ----------------------------------------------------------------------

bool LikelihoodDefinitionModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() > entryRow() || m_locked)
        return false;
    const int row = index.row();
    switch (index.column()) {
    case LabelColumn:
        return row < entryRow() ? setLabel(row, value.toString()) : setPendingLabel(value.toString());
    case ProbabilityColumn:
        return setProbability(row, value);
    case CountsColumn:
        return setCount(row, value.toString());
    }
    return false;
}

bool LikelihoodDefinitionModel::setLabel(int row, const QString &text)
{
    const QString label = text.simplified();
    const QString oldLabel = m_model->categoryLabel(m_likelihoodId, row);
    if (label == oldLabel)
        return false;
    if (!acceptsNewLabel(label))
        return false;
    m_model->setCategoryLabel(m_likelihoodId, row, label);
    // The count goes with its category.
    const int count = m_categoryCounts->take(oldLabel);
    m_categoryCounts->insert(label, count);
    emit dataChanged(index(row, LabelColumn), index(row, LabelColumn));
    return true;
}

bool LikelihoodDefinitionModel::setPendingLabel(const QString &text)
{
    if (hasUnobservedCategory())
        return false;
    const int row = entryRow();
    const QString label = text.simplified();
    m_pendingLabel.clear();
    m_pendingUnobservedName.clear();
    bool accepted = true;
    if (m_model->isCategoryLabelUsed(label)) {
        emit duplicateCategoryLabelError(label);
        accepted = false;
    } else {
        m_pendingUnobservedName = unobservedNameOf(label);
        // The unobserved category's label is never written (its abundance
        // name is, and that is a symbol name already); an empty one clears
        // the row.
        if (m_pendingUnobservedName.isEmpty() && !label.isEmpty())
            accepted = acceptsNewLabel(label);
    }
    if (accepted)
        m_pendingLabel = label;
    // The whole row: italics and the counts text follow the label.
    emitRowChanged(row);
    return accepted;
}

bool LikelihoodDefinitionModel::setProbability(int row, const QVariant &value)
{
    if (!value.canConvert<EquationDefinition>())
        return false;
    const EquationDefinition definition = value.value<EquationDefinition>();
    if (!definition.isComplete())
        return false;
    const int n = categoryCount();
    if (row < n) {
        m_model->setCategoryProbability(m_likelihoodId, row, definition.text, definition.cloneEquation());
        emit dataChanged(index(row, ProbabilityColumn), index(row, ProbabilityColumn));
        return true;
    }
    if (hasUnobservedCategory()) {
        m_model->setUnobservedCategoryProbability(m_likelihoodId, definition.text,
                                                  definition.cloneEquation());
        emit dataChanged(index(row, ProbabilityColumn), index(row, ProbabilityColumn));
        return true;
    }
    if (!m_pendingUnobservedName.isEmpty()) {
        const QString name = m_pendingUnobservedName;
        m_pendingUnobservedName.clear();
        m_pendingLabel.clear();
        m_model->setUnobservedCategory(m_likelihoodId, name, definition.text, definition.cloneEquation());
        emitRowChanged(row);
        return true;
    }
    if (m_pendingLabel.isEmpty())
        return false;
    const QString label = m_pendingLabel;
    // Checked again: another page may have taken the label meanwhile, and a
    // "(<name>)" whose symbol went away is now an ordinary label.
    if (!acceptsNewLabel(label)) {
        m_pendingLabel.clear();
        emitRowChanged(row);
        return false;
    }
    // The completed category keeps this row; a fresh entry row follows it.
    beginInsertRows(QModelIndex(), n + 1, n + 1);
    m_model->insertCategory(m_likelihoodId, label, definition.text, definition.cloneEquation());
    m_categoryCounts->insert(label, 0);
    m_pendingLabel.clear();
    endInsertRows();
    emitRowChanged(row);
    return true;
}

bool LikelihoodDefinitionModel::setCount(int row, const QString &text)
{
    if (row >= categoryCount())
        return false; // the unobserved category's count is not entered
    const std::optional<int> count = countOf(text);
    if (!count) {
        emit illegalCountsError(text);
        return false;
    }
    const QString label = m_model->categoryLabel(m_likelihoodId, row);
    const auto stored = m_categoryCounts->constFind(label);
    const bool changed = stored == m_categoryCounts->constEnd() || *stored != *count;
    m_categoryCounts->insert(label, *count);
    emit dataChanged(index(row, CountsColumn), index(row, CountsColumn));
    // Leaving a count as it was is no change to the workspace.
    if (changed)
        emit categoryCountsChanged();
    return true;
}

void LikelihoodDefinitionModel::deleteRow(int row)
{
    if (m_locked || row < 0 || row > entryRow())
        return;
    const int n = categoryCount();
    if (row < n) {
        beginRemoveRows(QModelIndex(), row, row);
        m_model->deleteCategory(m_likelihoodId, row);
        endRemoveRows();
        return;
    }
    if (!hasUnobservedCategory())
        return;
    m_model->deleteCategory(m_likelihoodId, n);
    emitRowChanged(n);
    emit unobservedCategoryDeleted();
}

// --- helpers and slots ---------------------------------------------------------------

bool LikelihoodDefinitionModel::acceptsNewLabel(const QString &label)
{
    if (m_model->isCategoryLabelUsed(label)) {
        emit duplicateCategoryLabelError(label);
        return false;
    }
    // Also refuses an empty label, which the file would read back as the
    // unobserved category.
    if (!pelk::FileTextRules::isWritableCategoryLabel(label)) {
        emit illegalCategoryLabelError(label);
        return false;
    }
    return true;
}

QString LikelihoodDefinitionModel::unobservedNameOf(const QString &label) const
{
    if (label.size() < 2 || !label.startsWith(u'(') || !label.endsWith(u')'))
        return QString();
    const QString name = label.mid(1, label.size() - 2);
    return m_model->hasParameter(name) || m_model->hasVariable(name) ? name : QString();
}

void LikelihoodDefinitionModel::emitRowChanged(int row)
{
    emit dataChanged(index(row, LabelColumn), index(row, CountsColumn));
}

void LikelihoodDefinitionModel::onSymbolsChanged()
{
    if (m_pendingLabel.isEmpty() || hasUnobservedCategory())
        return;
    const QString name = unobservedNameOf(m_pendingLabel);
    if (name == m_pendingUnobservedName)
        return;
    m_pendingUnobservedName = name;
    emitRowChanged(entryRow());
}

void LikelihoodDefinitionModel::onLikelihoodDeleted()
{
    if (!m_model->isMultinomial(m_likelihoodId)) {
        beginResetModel();
        m_pendingLabel.clear();
        m_pendingUnobservedName.clear();
        endResetModel();
    }
}

void LikelihoodDefinitionModel::onLockWorkspace()
{
    m_locked = true;
}

void LikelihoodDefinitionModel::onCategoryCountsLoaded()
{
    const int rows = rowCount();
    if (rows > 0)
        emit dataChanged(index(0, CountsColumn), index(rows - 1, CountsColumn));
}

void LikelihoodDefinitionModel::onClearEstimates()
{
    m_locked = false;
}
