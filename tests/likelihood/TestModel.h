// A model built from formula texts and bound the way validation binds it:
// every symbol of every tree points at the parameter node or at the tree of
// the convenience function of its name.
#pragma once

#include "model/ModelDefinition.h"

#include <QStringList>

#include <memory>

class TestModel
{
public:
    // Parameters first: inserting a parameter rebuilds every parameter node.
    explicit TestModel(const QStringList &parameterNames);

    void addFunction(const QString &name, const QString &text);
    int addMultinomial(const QString &name);
    void addCategory(int id, const QString &label, const QString &probability);
    void setUnobserved(int id, const QString &abundanceName, const QString &probability);
    int addNormal(const QString &name, const QString &observed, const QString &expected,
                  const QString &standardError);

    // The model with every tree bound; call after the last addition.
    pelk::ModelDefinition &bound();

private:
    void bind(zav::Equation *tree) const;

    // Held by pointer so that helpers can return a TestModel by value.
    std::unique_ptr<pelk::ModelDefinition> m_model = std::make_unique<pelk::ModelDefinition>();
};

// Parameters p, mu, sigma; a multinomial "coin" with categories "yes" = p
// and "no" = 1 - p, and a normal "measurement" with observed 5, expected mu
// and standard error sigma.
TestModel coinAndMeasurement();
