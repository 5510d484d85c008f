#include "model/ModelValidator.h"

#include "expr/Symbol.h"
#include "model/MessageSink.h"
#include "model/ModelDefinition.h"

#include <QHash>

#include <cmath>
#include <vector>

namespace pelk {

namespace {

using SymbolTable = QHash<QString, zav::Equation *>;

// Parameters first, then convenience functions: a function that has the
// name of a parameter replaces the parameter's entry.
SymbolTable buildSymbolTable(const ModelDefinition &model)
{
    SymbolTable table;
    for (int i = 0; i < model.parameterCount(); ++i)
        table.insert(model.parameterName(i), model.parameter(i));
    for (int i = 0; i < model.variableCount(); ++i)
        table.insert(model.variableName(i), model.variableEquation(i));
    return table;
}

// Binds every Symbol of the tree; returns the names not found, once per
// occurrence, in order.
QStringList bind(zav::Equation *tree, const SymbolTable &table)
{
    QStringList undefined;
    if (!tree)
        return undefined;
    QList<zav::Symbol *> symbols;
    tree->collectSymbols(symbols);
    for (zav::Symbol *symbol : std::as_const(symbols)) {
        zav::Equation *target = table.value(symbol->name(), nullptr);
        if (target)
            symbol->setBinding(target);
        else
            undefined.append(symbol->name());
    }
    return undefined;
}

class Validation
{
public:
    Validation(ModelDefinition &model, MessageSink &sink)
        : m_model(model), m_sink(sink), m_table(buildSymbolTable(model))
    {}

    bool run()
    {
        bindConvenienceFunctions();
        findCircularReferences();
        bindLikelihoods();
        if (m_valid)
            testProbabilitySums();
        return m_valid;
    }

private:
    void error(const QString &text, MessageSink::Style style = MessageSink::Bold)
    {
        m_sink.write(text, style);
        m_valid = false;
    }

    void bindConvenienceFunctions()
    {
        for (int i = 0; i < m_model.variableCount(); ++i)
            for (const QString &name : bind(m_model.variableEquation(i), m_table))
                error(QStringLiteral("\"%1\" uses undefined symbol \"%2\".\n")
                          .arg(m_model.variableName(i), name));
    }

    // dependsOn follows bindings and stops on a cycle that does not pass
    // through the function tested (f = g, g = h, h = g leaves f clear).
    void findCircularReferences()
    {
        for (int i = 0; i < m_model.variableCount(); ++i) {
            const zav::Equation *tree = m_model.variableEquation(i);
            if (tree && tree->dependsOn(m_model.variableName(i)))
                error(QStringLiteral("\"%1\" contains a circular reference.\n").arg(m_model.variableName(i)));
        }
    }

    void bindCategory(const QString &label, zav::Equation *tree)
    {
        for (const QString &name : bind(tree, m_table))
            undefinedInCategory(label, name);
    }

    void undefinedInCategory(const QString &label, const QString &name)
    {
        error(QStringLiteral("Category \"%1\" uses undefined symbol \"%2\".\n").arg(label, name));
    }

    void bindLikelihoods()
    {
        for (int position = 0; position < m_model.likelihoodCount(); ++position) {
            const int id = m_model.likelihoodId(position);
            if (m_model.isMultinomial(id))
                bindMultinomial(id);
            else
                bindNormal(id);
        }
    }

    void bindMultinomial(int id)
    {
        const int count = m_model.categoryCount(id);
        for (int i = 0; i < count; ++i)
            bindCategory(m_model.categoryLabel(id, i), m_model.categoryEquation(id, i));
        if (!m_model.hasUnobservedCategory(id))
            return;
        // The unobserved category has no label of its own; it is named as
        // the diagnostics table names its row.
        const QString label = m_model.likelihoodName(id) + QStringLiteral(" unobserved");
        bindCategory(label, m_model.categoryEquation(id, count));
        // The abundance may name a parameter or function deleted since.
        if (!m_model.abundanceSymbol(id))
            undefinedInCategory(label, m_model.abundanceSymbolName(id));
    }

    void bindNormal(int id)
    {
        const QString name = m_model.likelihoodName(id);
        const std::pair<zav::Equation *, const char *> formulas[]
            = {{m_model.observedEquation(id), "observed"},
               {m_model.expectedEquation(id), "expected"},
               {m_model.standardErrorEquation(id), "standard error"}};
        for (const auto &[tree, part] : formulas) {
            // A formula left empty in a file has no tree; the objective
            // could not evaluate it.
            if (!tree)
                error(QStringLiteral("Likelihood \"%1\" has no formula for \"%2\".\n")
                          .arg(name, QLatin1String(part)));
            for (const QString &symbol : bind(tree, m_table))
                error(QStringLiteral("Likelihood \"%1\" undefined symbol \"%2\" in \"%3\".")
                          .arg(name, symbol, QLatin1String(part)),
                      MessageSink::Normal);
        }
    }

    void testProbabilitySums()
    {
        std::vector<double> values(std::size_t(m_model.parameterCount()), 0.0);
        for (int i = 0; i < m_model.parameterCount(); ++i)
            m_model.parameter(i)->setValues(&values);
        fillTestPoint(values);
        for (int position = 0; position < m_model.likelihoodCount(); ++position) {
            const int id = m_model.likelihoodId(position);
            if (!m_model.isMultinomial(id))
                continue;
            const int count = m_model.categoryCount(id) + (m_model.hasUnobservedCategory(id) ? 1 : 0);
            double sum = 0.0;
            for (int i = 0; i < count; ++i)
                sum += evaluate(m_model.categoryEquation(id, i));
            // A NaN sum compares false and is not reported.
            if (std::abs(sum - 1.0) > 1e-10)
                error(QStringLiteral("Probabilities for likelihood \"%1\" do not sum to 1.\n")
                          .arg(m_model.likelihoodName(id)));
        }
        // The vector dies here: leave no parameter pointing at it.
        for (int i = 0; i < m_model.parameterCount(); ++i)
            m_model.parameter(i)->setValues(nullptr);
    }

    static double evaluate(const zav::Equation *tree) { return tree ? tree->evaluate() : std::nan(""); }

    // Spread the parameters over (0, 1) avoiding exactly 0.5, then shrink
    // them tenfold while some convenience function exceeds 1e15 (a
    // function like 1/p blows up near 0). A function that does not shrink
    // with the parameters (a large constant, a quotient by a parameter)
    // would keep that loop going for ever, so it stops after
    // maxRescalingPasses and the test goes on with the last values.
    void fillTestPoint(std::vector<double> &values)
    {
        constexpr int maxRescalingPasses = 30;
        const int k = m_model.parameterCount();
        const double step = 0.96 / k;
        double x = 0.02; // not reset between passes
        double scale = 1.0;
        for (int pass = 0; pass < maxRescalingPasses; ++pass) {
            for (int i = 0; i < k; ++i) {
                values[std::size_t(i)] = scale * x;
                x += step;
                if (scale * x == 0.5)
                    x += step * scale;
            }
            double largest = 1e10;
            for (int i = 0; i < m_model.variableCount(); ++i) {
                const double value = evaluate(m_model.variableEquation(i));
                if (value > largest) // NaN compares false
                    largest = value;
            }
            scale /= 10.0;
            if (!(largest > 1e15))
                break;
        }
    }

    ModelDefinition &m_model;
    MessageSink &m_sink;
    const SymbolTable m_table;
    bool m_valid = true;
};

} // namespace

bool validate(ModelDefinition &model, MessageSink &sink)
{
    return Validation(model, sink).run();
}

} // namespace pelk
