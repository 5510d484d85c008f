#include "model/ModelDefinition.h"

#include <QMetaMethod>

namespace pelk {

ModelDefinition::ModelDefinition(QObject *parent) : QObject(parent)
{
    // Every change signal declared here is followed by changed().
    const QMetaMethod changedSignal = QMetaMethod::fromSignal(&ModelDefinition::changed);
    for (int i = staticMetaObject.methodOffset(); i < staticMetaObject.methodCount(); ++i) {
        const QMetaMethod method = staticMetaObject.method(i);
        if (method.methodType() == QMetaMethod::Signal && method != changedSignal)
            connect(this, method, this, changedSignal);
    }
}

ModelDefinition::~ModelDefinition() = default;

// --- parameters ------------------------------------------------------------

// The nodes from position `first` on are recreated so that each index
// equals its position; those before it are unchanged and stay. Appending a
// parameter so costs one node, and a file of n parameters reads in O(n).
void ModelDefinition::rebuildParameters(int first)
{
    m_parameters.resize(std::size_t(first));
    for (int k = first; k < m_parameterNames.size(); ++k)
        m_parameters.push_back(std::make_unique<Parameter>(m_parameterNames.at(k), k));
}

void ModelDefinition::insertParameter(int i, const QString &name)
{
    m_parameterNames.insert(i, name);
    rebuildParameters(i);
    emit parameterInserted(i, name);
}

void ModelDefinition::renameParameter(int i, const QString &name)
{
    renameAbundanceSymbol(m_parameterNames.at(i), name);
    m_parameterNames[i] = name;
    rebuildParameters(i);
    emit parameterRenamed(i, name);
}

void ModelDefinition::deleteParameter(int i)
{
    m_parameterNames.removeAt(i);
    rebuildParameters(i);
    emit parameterDeleted(i);
}

// --- convenience functions ---------------------------------------------------

void ModelDefinition::insertVariable(int i, const QString &name, const QString &definition,
                                     zav::EquationPtr equation)
{
    m_variableNames.insert(i, name);
    m_variableDefinitions.insert(i, definition);
    m_variableEquations.insert(m_variableEquations.begin() + i, std::move(equation));
    emit variableInserted(i, name);
}

void ModelDefinition::renameVariable(int i, const QString &name)
{
    renameAbundanceSymbol(m_variableNames.at(i), name);
    m_variableNames[i] = name;
    emit variableRenamed(i, name);
}

void ModelDefinition::redefineVariable(int i, const QString &definition, zav::EquationPtr equation)
{
    m_variableDefinitions[i] = definition;
    m_variableEquations[std::size_t(i)] = std::move(equation);
    emit variableRedefined();
}

void ModelDefinition::deleteVariable(int i)
{
    m_variableNames.removeAt(i);
    m_variableDefinitions.removeAt(i);
    m_variableEquations.erase(m_variableEquations.begin() + i);
    emit variableDeleted(i);
}

// --- likelihoods -------------------------------------------------------------

int ModelDefinition::positionOf(int id) const
{
    return int(m_likelihoodIds.indexOf(id));
}

QString ModelDefinition::likelihoodName(int id) const
{
    return m_likelihoodNames.at(positionOf(id));
}

int ModelDefinition::addLikelihood(const QString &name, bool normal)
{
    const int id = m_nextLikelihoodId++;
    m_likelihoodIds.append(id);
    m_likelihoodNames.append(name);
    if (normal) {
        m_observed[id];
        m_expected[id];
        m_standardError[id];
    } else {
        m_categoryLabels[id];
        m_categoryProbabilities[id];
        m_categoryEquations[id];
    }
    emit likelihoodAdded();
    return id;
}

void ModelDefinition::renameLikelihood(int id, const QString &name)
{
    m_likelihoodNames[positionOf(id)] = name;
    emit likelihoodRenamed();
}

void ModelDefinition::deleteLikelihood(int id)
{
    const int position = positionOf(id);
    m_likelihoodIds.removeAt(position);
    m_likelihoodNames.removeAt(position);
    m_categoryLabels.erase(id);
    m_categoryProbabilities.erase(id);
    m_categoryEquations.erase(id);
    m_unobservedProbability.erase(id);
    m_unobservedEquation.erase(id);
    m_abundanceSymbolName.erase(id);
    // A normal likelihood's formulas are unreachable once the id is gone.
    m_observed.erase(id);
    m_expected.erase(id);
    m_standardError.erase(id);
    emit likelihoodDeleted();
}

// --- categories ----------------------------------------------------------------

int ModelDefinition::categoryCount(int id) const
{
    const auto it = m_categoryLabels.find(id);
    return it == m_categoryLabels.end() ? 0 : int(it->second.size());
}

QString ModelDefinition::categoryLabel(int id, int i) const
{
    return m_categoryLabels.at(id).at(i);
}

QString ModelDefinition::categoryProbability(int id, int i) const
{
    const int count = categoryCount(id);
    if (i >= 0 && i < count)
        return m_categoryProbabilities.at(id).at(i);
    if (i == count) {
        const auto it = m_unobservedProbability.find(id);
        if (it != m_unobservedProbability.end())
            return it->second;
    }
    return QString();
}

zav::Equation *ModelDefinition::categoryEquation(int id, int i) const
{
    const int count = categoryCount(id);
    if (i >= 0 && i < count)
        return m_categoryEquations.at(id).at(std::size_t(i)).get();
    if (i == count) {
        const auto it = m_unobservedEquation.find(id);
        if (it != m_unobservedEquation.end())
            return it->second.get();
    }
    return nullptr;
}

bool ModelDefinition::isCategoryLabelUsed(const QString &label) const
{
    for (const auto &entry : m_categoryLabels)
        if (entry.second.contains(label))
            return true;
    return false;
}

void ModelDefinition::insertCategory(int id, const QString &label, const QString &probability,
                                     zav::EquationPtr equation)
{
    m_categoryLabels[id].append(label);
    m_categoryProbabilities[id].append(probability);
    m_categoryEquations[id].push_back(std::move(equation));
    emit categoryInserted();
}

void ModelDefinition::setCategoryLabel(int id, int i, const QString &label)
{
    m_categoryLabels.at(id)[i] = label;
    emit categoryLabelChanged();
}

void ModelDefinition::setCategoryProbability(int id, int i, const QString &text, zav::EquationPtr equation)
{
    m_categoryProbabilities.at(id)[i] = text;
    m_categoryEquations.at(id).at(std::size_t(i)) = std::move(equation);
    emit categoryProbabilityChanged();
}

void ModelDefinition::deleteCategory(int id, int i)
{
    const int count = categoryCount(id);
    if (i < count) {
        m_categoryLabels.at(id).removeAt(i);
        m_categoryProbabilities.at(id).removeAt(i);
        Categories &equations = m_categoryEquations.at(id);
        equations.erase(equations.begin() + i);
        emit categoryDeleted();
    } else if (i == count && hasUnobservedCategory(id)) {
        m_unobservedProbability.erase(id);
        m_unobservedEquation.erase(id);
        m_abundanceSymbolName.erase(id);
    }
}

// --- the unobserved category ---------------------------------------------------

// The abundance of an unobserved category is held by name: a renamed symbol
// must stay the abundance, or the category would name a symbol that no
// longer exists (and a saved workspace would not read back).
void ModelDefinition::renameAbundanceSymbol(const QString &oldName, const QString &newName)
{
    for (auto &[id, name] : m_abundanceSymbolName) {
        if (name == oldName)
            name = newName;
    }
}

void ModelDefinition::pointParametersAt(const std::vector<double> *values) const
{
    for (const auto &parameter : m_parameters)
        parameter->setValues(values);
}

zav::Equation *ModelDefinition::abundanceSymbol(int id) const
{
    const auto it = m_abundanceSymbolName.find(id);
    if (it == m_abundanceSymbolName.end())
        return nullptr;
    const qsizetype parameterIndex = m_parameterNames.indexOf(it->second);
    if (parameterIndex >= 0)
        return m_parameters.at(std::size_t(parameterIndex)).get();
    const qsizetype variableIndex = m_variableNames.indexOf(it->second);
    if (variableIndex >= 0)
        return m_variableEquations.at(std::size_t(variableIndex)).get();
    return nullptr;
}

QString ModelDefinition::abundanceSymbolName(int id) const
{
    const auto it = m_abundanceSymbolName.find(id);
    return it == m_abundanceSymbolName.end() ? QString() : it->second;
}

void ModelDefinition::setUnobservedCategory(int id, const QString &abundanceName, const QString &probability,
                                            zav::EquationPtr equation)
{
    m_abundanceSymbolName[id] = abundanceName;
    m_unobservedProbability[id] = probability;
    m_unobservedEquation[id] = std::move(equation);
    emit categoryInserted();
}

void ModelDefinition::setUnobservedCategoryProbability(int id, const QString &text, zav::EquationPtr equation)
{
    m_unobservedProbability[id] = text;
    m_unobservedEquation[id] = std::move(equation);
    emit categoryProbabilityChanged();
}

// --- normal likelihoods ----------------------------------------------------------

QString ModelDefinition::textOf(const std::map<int, Formula> &formulas, int id)
{
    const auto it = formulas.find(id);
    return it == formulas.end() ? QString() : it->second.text;
}

zav::Equation *ModelDefinition::equationOf(const std::map<int, Formula> &formulas, int id)
{
    const auto it = formulas.find(id);
    return it == formulas.end() ? nullptr : it->second.equation.get();
}

QString ModelDefinition::observed(int id) const
{
    return textOf(m_observed, id);
}
QString ModelDefinition::expected(int id) const
{
    return textOf(m_expected, id);
}
QString ModelDefinition::standardError(int id) const
{
    return textOf(m_standardError, id);
}
zav::Equation *ModelDefinition::observedEquation(int id) const
{
    return equationOf(m_observed, id);
}
zav::Equation *ModelDefinition::expectedEquation(int id) const
{
    return equationOf(m_expected, id);
}
zav::Equation *ModelDefinition::standardErrorEquation(int id) const
{
    return equationOf(m_standardError, id);
}

void ModelDefinition::setObserved(int id, const QString &text, zav::EquationPtr equation)
{
    m_observed[id] = Formula {text, std::move(equation)};
}

void ModelDefinition::setExpected(int id, const QString &text, zav::EquationPtr equation)
{
    m_expected[id] = Formula {text, std::move(equation)};
}

void ModelDefinition::setStandardError(int id, const QString &text, zav::EquationPtr equation)
{
    m_standardError[id] = Formula {text, std::move(equation)};
}

} // namespace pelk
