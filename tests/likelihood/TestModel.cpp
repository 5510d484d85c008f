#include "TestModel.h"

#include "expr/Parser.h"
#include "expr/Symbol.h"
#include "expr/SymbolValidator.h"

namespace {

zav::EquationPtr parsed(const QString &text)
{
    return zav::parse(text, pelk::SymbolValidator());
}

} // namespace

TestModel::TestModel(const QStringList &parameterNames)
{
    for (const QString &name : parameterNames)
        m_model->insertParameter(m_model->parameterCount(), name);
}

void TestModel::addFunction(const QString &name, const QString &text)
{
    m_model->insertVariable(m_model->variableCount(), name, text, parsed(text));
}

int TestModel::addMultinomial(const QString &name)
{
    return m_model->addLikelihood(name, false);
}

void TestModel::addCategory(int id, const QString &label, const QString &probability)
{
    m_model->insertCategory(id, label, probability, parsed(probability));
}

void TestModel::setUnobserved(int id, const QString &abundanceName, const QString &probability)
{
    m_model->setUnobservedCategory(id, abundanceName, probability, parsed(probability));
}

int TestModel::addNormal(const QString &name, const QString &observed, const QString &expected,
                         const QString &standardError)
{
    const int id = m_model->addLikelihood(name, true);
    m_model->setObserved(id, observed, parsed(observed));
    m_model->setExpected(id, expected, parsed(expected));
    m_model->setStandardError(id, standardError, parsed(standardError));
    return id;
}

pelk::ModelDefinition &TestModel::bound()
{
    for (int j = 0; j < m_model->variableCount(); ++j)
        bind(m_model->variableEquation(j));
    for (int position = 0; position < m_model->likelihoodCount(); ++position) {
        const int id = m_model->likelihoodId(position);
        // Position categoryCount(id) is the unobserved category, if any.
        for (int i = 0; i <= m_model->categoryCount(id); ++i)
            bind(m_model->categoryEquation(id, i));
        bind(m_model->observedEquation(id));
        bind(m_model->expectedEquation(id));
        bind(m_model->standardErrorEquation(id));
    }
    return *m_model;
}

void TestModel::bind(zav::Equation *tree) const
{
    if (!tree)
        return;
    QList<zav::Symbol *> symbols;
    tree->collectSymbols(symbols);
    for (zav::Symbol *symbol : std::as_const(symbols)) {
        const qsizetype parameter = m_model->parameterNames().indexOf(symbol->name());
        const qsizetype function = m_model->variableNames().indexOf(symbol->name());
        if (parameter >= 0)
            symbol->setBinding(m_model->parameter(int(parameter)));
        else if (function >= 0)
            symbol->setBinding(m_model->variableEquation(int(function)));
    }
}

TestModel coinAndMeasurement()
{
    TestModel model({"p", "mu", "sigma"});
    const int id = model.addMultinomial("coin");
    model.addCategory(id, "yes", "p");
    model.addCategory(id, "no", "1 - p");
    model.addNormal("measurement", "5", "mu", "sigma");
    return model;
}
