// The one in-memory model of a workspace: parameters, convenience functions
// ("variables") and likelihoods with their categories or normal formulas.
//
// A plain container with change notification. It stores what it is given,
// emits one signal after every change and validates nothing: callers (the
// file reader, the editors) check names and formulas first. Per-likelihood
// data is keyed by a likelihood id that is never reused while the model
// lives. The model owns every formula tree handed to it.
#pragma once

#include "expr/Equation.h"
#include "model/Parameter.h"

#include <QObject>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

namespace pelk {

class ModelDefinition : public QObject
{
    Q_OBJECT

public:
    explicit ModelDefinition(QObject *parent = nullptr);
    ~ModelDefinition() override;

    // --- parameters ------------------------------------------------------
    int parameterCount() const { return int(m_parameterNames.size()); }
    QString parameterName(int i) const { return m_parameterNames.at(i); }
    const QStringList &parameterNames() const { return m_parameterNames; }
    // Parameter nodes are rebuilt on every parameter change: fetch again
    // after one rather than holding the pointer.
    Parameter *parameter(int i) const { return m_parameters.at(std::size_t(i)).get(); }
    // Points every parameter node at `values` (null: at nothing), which must
    // hold a value per parameter and outlive any evaluation of the trees.
    // The trees are evaluated at explicit values only: a run's objective
    // is a compiled program and leaves them alone.
    void pointParametersAt(const std::vector<double> *values) const;
    bool hasParameter(const QString &name) const { return m_parameterNames.contains(name); }

    void insertParameter(int i, const QString &name);
    void renameParameter(int i, const QString &name);
    void deleteParameter(int i);

    // --- convenience functions ("variables") ------------------------------
    int variableCount() const { return int(m_variableNames.size()); }
    QString variableName(int i) const { return m_variableNames.at(i); }
    const QStringList &variableNames() const { return m_variableNames; }
    QString variableDefinition(int i) const { return m_variableDefinitions.at(i); }
    zav::Equation *variableEquation(int i) const { return m_variableEquations.at(std::size_t(i)).get(); }
    bool hasVariable(const QString &name) const { return m_variableNames.contains(name); }

    void insertVariable(int i, const QString &name, const QString &definition, zav::EquationPtr equation);
    void renameVariable(int i, const QString &name);
    void redefineVariable(int i, const QString &definition, zav::EquationPtr equation);
    void deleteVariable(int i);

    // --- likelihoods ------------------------------------------------------
    int likelihoodCount() const { return int(m_likelihoodIds.size()); }
    int likelihoodId(int position) const { return m_likelihoodIds.at(position); }
    QString likelihoodName(int id) const;
    bool hasLikelihood(const QString &name) const { return m_likelihoodNames.contains(name); }
    bool isMultinomial(int id) const { return m_categoryLabels.count(id) != 0; }

    // Returns the new likelihood's id.
    int addLikelihood(const QString &name, bool normal);
    void renameLikelihood(int id, const QString &name);
    void deleteLikelihood(int id);

    // --- categories of a multinomial likelihood -----------------------------
    // Regular categories are at 0 .. count-1; the unobserved category, when
    // there is one, is addressed as position count.
    int categoryCount(int id) const;
    QString categoryLabel(int id, int i) const;
    QString categoryProbability(int id, int i) const;
    zav::Equation *categoryEquation(int id, int i) const;
    bool isCategoryLabelUsed(const QString &label) const;

    void insertCategory(int id, const QString &label, const QString &probability, zav::EquationPtr equation);
    void setCategoryLabel(int id, int i, const QString &label);
    void setCategoryProbability(int id, int i, const QString &text, zav::EquationPtr equation);
    // i == categoryCount(id) removes the unobserved category, silently.
    void deleteCategory(int id, int i);

    // --- the unobserved category ---------------------------------------------
    bool hasUnobservedCategory(int id) const { return m_unobservedEquation.count(id) != 0; }
    // The node of the abundance symbol, resolved from its name each time it
    // is asked for (parameter nodes and function trees are replaced when the
    // model changes, so a stored pointer would dangle): the parameter of
    // that name, else the convenience function's tree. Null when the
    // likelihood has no unobserved category, or when its abundance name no
    // longer names a parameter or a convenience function.
    zav::Equation *abundanceSymbol(int id) const;
    QString abundanceSymbolName(int id) const;

    void setUnobservedCategory(int id, const QString &abundanceName, const QString &probability,
                               zav::EquationPtr equation);
    void setUnobservedCategoryProbability(int id, const QString &text, zav::EquationPtr equation);

    // --- normal likelihoods ------------------------------------------------
    QString observed(int id) const;
    QString expected(int id) const;
    QString standardError(int id) const;
    zav::Equation *observedEquation(int id) const;
    zav::Equation *expectedEquation(int id) const;
    zav::Equation *standardErrorEquation(int id) const;

    void setObserved(int id, const QString &text, zav::EquationPtr equation);
    void setExpected(int id, const QString &text, zav::EquationPtr equation);
    void setStandardError(int id, const QString &text, zav::EquationPtr equation);

signals:
    void parameterInserted(int i, QString name);
    void parameterRenamed(int i, QString newName);
    void parameterDeleted(int i);
    void variableInserted(int i, QString name);
    void variableRenamed(int i, QString newName);
    void variableDeleted(int i);
    void variableRedefined();
    void likelihoodAdded();
    void likelihoodDeleted();
    void likelihoodRenamed();
    void categoryInserted();
    void categoryDeleted();
    void categoryLabelChanged();
    void categoryProbabilityChanged();
    // After each of the signals above, for those that only need to know
    // that the model changed.
    void changed();

private:
    // One formula of a normal likelihood: its text and its tree (null when unset).
    struct Formula
    {
        QString text;
        zav::EquationPtr equation;
    };
    using Categories = std::vector<zav::EquationPtr>;

    void rebuildParameters(int first);
    void renameAbundanceSymbol(const QString &oldName, const QString &newName);
    int positionOf(int id) const;
    static QString textOf(const std::map<int, Formula> &formulas, int id);
    static zav::Equation *equationOf(const std::map<int, Formula> &formulas, int id);

    int m_nextLikelihoodId = 0;
    std::vector<std::unique_ptr<Parameter>> m_parameters;
    QStringList m_parameterNames;
    QStringList m_variableNames;
    QStringList m_variableDefinitions;
    std::vector<zav::EquationPtr> m_variableEquations;
    QList<int> m_likelihoodIds;
    QStringList m_likelihoodNames;
    std::map<int, QStringList> m_categoryLabels;
    std::map<int, QStringList> m_categoryProbabilities;
    std::map<int, Categories> m_categoryEquations;
    std::map<int, QString> m_unobservedProbability;
    std::map<int, zav::EquationPtr> m_unobservedEquation;
    std::map<int, QString> m_abundanceSymbolName;
    std::map<int, Formula> m_observed;
    std::map<int, Formula> m_expected;
    std::map<int, Formula> m_standardError;
};

} // namespace pelk
