// A formula of the model held as a tree: category probabilities, convenience
// functions and the three formulas of a normal likelihood are all Equations.
//
// The parser builds unbound trees; model validation binds every Symbol to a
// parameter node or to the root of a convenience function; the likelihood
// points every parameter node at one shared vector of values and evaluates.
// No operation checks its domain: 1/0, log(0), overflow propagate as IEEE
// infinities and NaNs, which the objective turns into "unusable point".
#pragma once

#include "expr/NodePool.h"

#include <QList>
#include <QSet>
#include <QString>

#include <memory>

namespace zav {

class Symbol;

class Equation
{
public:
    Equation() = default;
    Equation(const Equation &) = delete;
    Equation &operator=(const Equation &) = delete;
    virtual ~Equation() = default;

#if ZAV_NODES_IN_POOL
    // Every node, of every class, lives in the node pool.
    static void *operator new(std::size_t size)
    {
        return NodePool::allocate(size);
    }
    static void operator delete(void *node, std::size_t size) noexcept
    {
        NodePool::release(node, size);
    }
#endif

    // What a node is, for code that walks trees without evaluating them
    // (the compiler of the objective). Each kind is exactly one class:
    // Parameter nodes are pelk::Parameter, Symbol nodes zav::Symbol, ...
    enum class Kind { Literal, Parameter, Symbol, Add, Subtract, Multiply, Divide, Power, Exp, Log, InvLogit, Negate };
    virtual Kind kind() const = 0;

    // Deep copy. Bindings are copied as pointers; exponential caches start fresh.
    virtual std::unique_ptr<Equation> clone() const = 0;

    // Value at the current parameter values. Allocates nothing: this is the
    // inner loop of every optimisation.
    virtual double evaluate() const = 0;

    // Text form without blanks or parentheses. It does not preserve grouping
    // (a*(b+c) prints as a*b+c); it is a term key and is never parsed again.
    virtual QString toString() const = 0;

    // True if the name occurs in the tree, following Symbol bindings.
    virtual bool dependsOn(const QString &name) const = 0;

    // Appends every Symbol node, left before right, without following bindings.
    virtual void collectSymbols(QList<Symbol *> &symbols) = 0;

    // Adds the keys of the terms of the minimum sufficient statistic.
    virtual void collectTerms(QSet<QString> &terms) const = 0;

    // False when a derivative by this name cannot be formed (only u^v with
    // the name on both sides).
    virtual bool isDifferentiable(const QString &name) const = 0;

    // Numeric partial derivative by the parameter of that name, at the
    // current parameter values.
    virtual double derivativeValue(const QString &name) const = 0;

    // Symbolic partial derivative: a new independent tree, never simplified.
    virtual std::unique_ptr<Equation> derivative(const QString &name) const = 0;
};

using EquationPtr = std::unique_ptr<Equation>;

} // namespace zav
