#include "model/ModelValidator.h"

#include "expr/Symbol.h"
#include "expr/TreeShape.h"
#include "model/MessageSink.h"
#include "model/ModelDefinition.h"

#include <QHash>

#include <algorithm>
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
    // Room for the names of a typical formula at once: a model binds
    // every formula of every category.
    symbols.reserve(32);
    tree->collectSymbols(symbols);
    for (zav::Symbol *symbol : std::as_const(symbols)) {
        zav::Equation *target = table.value(symbol->name(), nullptr);
        // Also when the name is undefined: the binding of an earlier
        // validation may name a parameter or function deleted since.
        symbol->setBinding(target);
        if (!target)
            undefined.append(symbol->name());
    }
    return undefined;
}

// The functions each convenience function uses directly, by index.
using FunctionGraph = std::vector<std::vector<int>>;

// Marks the functions that lie on a cycle of the graph (a function that
// uses itself, or two that use each other through any others) and lists
// the functions with every function before the functions that use it (for
// an acyclic graph). Tarjan's strongly connected components, with an
// explicit stack: a chain of thousands of functions must not recurse.
void findCycles(const FunctionGraph &uses, std::vector<bool> &onCycle, std::vector<int> &usedFirst)
{
    const int count = int(uses.size());
    std::vector<int> index(std::size_t(count), -1);
    std::vector<int> low(std::size_t(count), 0);
    std::vector<bool> onStack(std::size_t(count), false);
    std::vector<int> stack;
    onCycle.assign(std::size_t(count), false);
    usedFirst.clear();
    int counter = 0;
    const auto visit = [&](int v) {
        index[std::size_t(v)] = low[std::size_t(v)] = counter++;
        stack.push_back(v);
        onStack[std::size_t(v)] = true;
    };
    for (int root = 0; root < count; ++root) {
        if (index[std::size_t(root)] != -1)
            continue;
        std::vector<std::pair<int, std::size_t>> work {{root, 0}};
        visit(root);
        while (!work.empty()) {
            const int v = work.back().first;
            const std::size_t next = work.back().second;
            const std::vector<int> &successors = uses[std::size_t(v)];
            if (next < successors.size()) {
                ++work.back().second;
                const int w = successors[next];
                if (w == v)
                    onCycle[std::size_t(v)] = true;
                if (index[std::size_t(w)] == -1) {
                    visit(w);
                    work.emplace_back(w, 0);
                } else if (onStack[std::size_t(w)]) {
                    low[std::size_t(v)] = std::min(low[std::size_t(v)], index[std::size_t(w)]);
                }
                continue;
            }
            work.pop_back();
            if (!work.empty()) {
                const int parent = work.back().first;
                low[std::size_t(parent)] = std::min(low[std::size_t(parent)], low[std::size_t(v)]);
            }
            if (low[std::size_t(v)] != index[std::size_t(v)])
                continue;
            // v roots a component; it is emitted after every component it uses.
            std::vector<int> component;
            int w;
            do {
                w = stack.back();
                stack.pop_back();
                onStack[std::size_t(w)] = false;
                component.push_back(w);
            } while (w != v);
            for (int member : component) {
                if (component.size() > 1)
                    onCycle[std::size_t(member)] = true;
                usedFirst.push_back(member);
            }
        }
    }
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
        const bool acyclic = findCircularReferences();
        bindLikelihoods();
        // Written out along the bindings, the formulas are only finite
        // without cycles; every later walk follows the bindings.
        if (acyclic)
            measureFormulas();
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

    // A function is circular when it uses itself through any chain of
    // functions; one that only uses a cycle (f = g, g = h, h = g) is not.
    // Returns true when no function is circular.
    bool findCircularReferences()
    {
        const int count = m_model.variableCount();
        m_functionShapes.clear();
        m_functionOf.clear();
        FunctionGraph uses(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            m_functionOf.insert(m_model.variableEquation(i), i);
        for (int i = 0; i < count; ++i) {
            m_functionShapes.push_back(zav::TreeShape::of(m_model.variableEquation(i)));
            for (const zav::TreeShape::Name &name : m_functionShapes.back().names) {
                const int used = functionOf(name.symbol);
                if (used >= 0)
                    uses[std::size_t(i)].push_back(used);
            }
        }
        std::vector<bool> onCycle;
        findCycles(uses, onCycle, m_usedFirst);
        bool acyclic = true;
        for (int i = 0; i < count; ++i) {
            if (onCycle[std::size_t(i)]) {
                error(QStringLiteral("\"%1\" contains a circular reference.\n").arg(m_model.variableName(i)));
                acyclic = false;
            }
        }
        return acyclic;
    }

    int functionOf(const zav::Symbol *symbol) const { return m_functionOf.value(symbol->binding(), -1); }

    // Every formula walk (evaluation, derivatives, the estimability terms)
    // recurses once per level and visits a function's tree at every use,
    // so the formulas written out with the functions they use must stay
    // within the depth the parser allows one formula, and within a size
    // that evaluates in milliseconds.
    static constexpr int maxExpandedDepth = 10000;
    static constexpr double maxExpandedSize = 1e6;

    struct Expansion
    {
        double depth = 0.0;
        double size = 0.0;
        bool usesTooDeep = false;
        bool usesTooLarge = false;
        bool tooDeep() const { return depth > maxExpandedDepth; }
        bool tooLarge() const { return size > maxExpandedSize; }
    };

    Expansion expand(const zav::TreeShape &shape) const
    {
        Expansion expansion {double(shape.depth), shape.nodeCount};
        for (const zav::TreeShape::Name &name : shape.names) {
            const int used = functionOf(name.symbol);
            if (used < 0)
                continue;
            const Expansion &function = m_functionExpansions[std::size_t(used)];
            expansion.depth = std::max(expansion.depth, name.level + function.depth);
            expansion.size += function.size;
            expansion.usesTooDeep = expansion.usesTooDeep || function.tooDeep();
            expansion.usesTooLarge = expansion.usesTooLarge || function.tooLarge();
        }
        return expansion;
    }

    // Names only the formulas that are too deep or too large of their own
    // making, not every formula that uses one of them.
    // `formula()` names the formula; it is only called for an error.
    template<typename Name>
    void reportExpansion(const Expansion &expansion, const Name &formula)
    {
        if (expansion.tooDeep() && !expansion.usesTooDeep)
            error(QStringLiteral("%1 is nested too deeply: written out with the convenience functions it "
                                 "uses, it is more than %2 levels deep.\n")
                      .arg(formula())
                      .arg(maxExpandedDepth));
        if (expansion.tooLarge() && !expansion.usesTooLarge)
            error(QStringLiteral("%1 is too large: written out with the convenience functions it uses, "
                                 "it has more than %2 operations and values.\n")
                      .arg(formula())
                      .arg(maxExpandedSize, 0, 'f', 0));
        if (expansion.tooDeep() || expansion.tooLarge())
            m_valid = false;
    }

    void measureFormulas()
    {
        m_functionExpansions.assign(m_functionShapes.size(), Expansion());
        for (int i : m_usedFirst) {
            m_functionExpansions[std::size_t(i)] = expand(m_functionShapes[std::size_t(i)]);
            reportExpansion(m_functionExpansions[std::size_t(i)],
                            [&] { return QStringLiteral("\"%1\"").arg(m_model.variableName(i)); });
        }
        for (int position = 0; position < m_model.likelihoodCount(); ++position) {
            const int id = m_model.likelihoodId(position);
            if (m_model.isMultinomial(id)) {
                const int count = m_model.categoryCount(id);
                for (int i = 0; i <= count; ++i) {
                    const auto name = [&] {
                        return QStringLiteral("Category \"%1\"")
                            .arg(i < count ? m_model.categoryLabel(id, i)
                                           : m_model.likelihoodName(id) + QStringLiteral(" unobserved"));
                    };
                    if (i < count || m_model.hasUnobservedCategory(id))
                        reportExpansion(expand(zav::TreeShape::of(m_model.categoryEquation(id, i))), name);
                }
            } else {
                const std::pair<zav::Equation *, const char *> formulas[]
                    = {{m_model.observedEquation(id), "observed"},
                       {m_model.expectedEquation(id), "expected"},
                       {m_model.standardErrorEquation(id), "standard error"}};
                for (const auto &[tree, part] : formulas)
                    reportExpansion(expand(zav::TreeShape::of(tree)), [&, part = part] {
                        return QStringLiteral("The \"%1\" formula of likelihood \"%2\"")
                            .arg(QLatin1String(part), m_model.likelihoodName(id));
                    });
            }
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
        m_model.pointParametersAt(&values);
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
        m_model.pointParametersAt(nullptr);
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
    // Per convenience function, by index: its own shape and, once measured,
    // its shape written out; the index of each function's tree; the
    // functions in an order where every function follows those it uses.
    std::vector<zav::TreeShape> m_functionShapes;
    std::vector<Expansion> m_functionExpansions;
    QHash<const zav::Equation *, int> m_functionOf;
    std::vector<int> m_usedFirst;
};

} // namespace

bool validate(ModelDefinition &model, MessageSink &sink)
{
    return Validation(model, sink).run();
}

} // namespace pelk
