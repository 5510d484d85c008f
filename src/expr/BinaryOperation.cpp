#include "expr/BinaryOperation.h"

#include "expr/Literal.h"
#include "expr/UnaryOperation.h"

#include <cmath>

namespace zav {

namespace {

template<typename Node>
EquationPtr make(EquationPtr left, EquationPtr right)
{
    return std::make_unique<Node>(std::move(left), std::move(right));
}

} // namespace

QString BinaryOperation::toString() const
{
    return m_left->toString() + operatorSign() + m_right->toString();
}

bool BinaryOperation::dependsOn(const QString &name) const
{
    return m_left->dependsOn(name) || m_right->dependsOn(name);
}

void BinaryOperation::collectSymbols(QList<Symbol *> &symbols)
{
    m_left->collectSymbols(symbols);
    m_right->collectSymbols(symbols);
}

bool BinaryOperation::isDifferentiable(const QString &name) const
{
    return m_left->isDifferentiable(name) && m_right->isDifferentiable(name);
}

// --- Add -------------------------------------------------------------------

std::unique_ptr<Equation> AddOperation::clone() const
{
    return make<AddOperation>(m_left->clone(), m_right->clone());
}

// A sum is not a product of sufficient-statistic terms: it is one term.
void AddOperation::collectTerms(QSet<QString> &terms) const
{
    terms.insert(toString());
}

double AddOperation::derivativeValue(const QString &name) const
{
    return m_left->derivativeValue(name) + m_right->derivativeValue(name);
}

std::unique_ptr<Equation> AddOperation::derivative(const QString &name) const
{
    return make<AddOperation>(m_left->derivative(name), m_right->derivative(name));
}

// --- Subtract --------------------------------------------------------------

std::unique_ptr<Equation> SubtractOperation::clone() const
{
    return make<SubtractOperation>(m_left->clone(), m_right->clone());
}

void SubtractOperation::collectTerms(QSet<QString> &terms) const
{
    terms.insert(toString());
}

double SubtractOperation::derivativeValue(const QString &name) const
{
    return m_left->derivativeValue(name) - m_right->derivativeValue(name);
}

std::unique_ptr<Equation> SubtractOperation::derivative(const QString &name) const
{
    return make<SubtractOperation>(m_left->derivative(name), m_right->derivative(name));
}

// --- Multiply --------------------------------------------------------------

std::unique_ptr<Equation> MultiplyOperation::clone() const
{
    return make<MultiplyOperation>(m_left->clone(), m_right->clone());
}

void MultiplyOperation::collectTerms(QSet<QString> &terms) const
{
    m_left->collectTerms(terms);
    m_right->collectTerms(terms);
}

// (f g)' = f' g + f g'
double MultiplyOperation::derivativeValue(const QString &name) const
{
    return m_left->derivativeValue(name) * m_right->evaluate()
        + m_left->evaluate() * m_right->derivativeValue(name);
}

// (left * right') + (right * left')
std::unique_ptr<Equation> MultiplyOperation::derivative(const QString &name) const
{
    return make<AddOperation>(make<MultiplyOperation>(m_left->clone(), m_right->derivative(name)),
                              make<MultiplyOperation>(m_right->clone(), m_left->derivative(name)));
}

// --- Divide ----------------------------------------------------------------

std::unique_ptr<Equation> DivideOperation::clone() const
{
    return make<DivideOperation>(m_left->clone(), m_right->clone());
}

void DivideOperation::collectTerms(QSet<QString> &terms) const
{
    m_left->collectTerms(terms);
    QSet<QString> denominator;
    m_right->collectTerms(denominator);
    for (const QString &term : std::as_const(denominator))
        terms.insert(QStringLiteral("1/") + term);
}

// (f / g)' = (f' g - g' f) / (g g)
double DivideOperation::derivativeValue(const QString &name) const
{
    const double f = m_left->evaluate();
    const double g = m_right->evaluate();
    return (m_left->derivativeValue(name) * g - m_right->derivativeValue(name) * f) / (g * g);
}

// ((left' * right) - (left * right')) / (right * right)
std::unique_ptr<Equation> DivideOperation::derivative(const QString &name) const
{
    return make<DivideOperation>(
        make<SubtractOperation>(make<MultiplyOperation>(m_left->derivative(name), m_right->clone()),
                                make<MultiplyOperation>(m_left->clone(), m_right->derivative(name))),
        make<MultiplyOperation>(m_right->clone(), m_right->clone()));
}

// --- Power -----------------------------------------------------------------

std::unique_ptr<Equation> PowerOperation::clone() const
{
    return make<PowerOperation>(m_left->clone(), m_right->clone());
}

double PowerOperation::evaluate() const
{
    return std::pow(m_left->evaluate(), m_right->evaluate());
}

// Only the exponent carries parameters into the statistic: base^t for every
// term t of the exponent. A constant exponent contributes nothing.
void PowerOperation::collectTerms(QSet<QString> &terms) const
{
    QSet<QString> exponent;
    m_right->collectTerms(exponent);
    const QString base = m_left->toString() + u'^';
    for (const QString &term : std::as_const(exponent))
        terms.insert(base + term);
}

bool PowerOperation::isDifferentiable(const QString &name) const
{
    if (m_left->dependsOn(name) && m_right->dependsOn(name))
        return false;
    return BinaryOperation::isDifferentiable(name);
}

// Base free of the name: (f^g)' = g' f^g ln f. Otherwise the exponent is:
// (f^g)' = f' g f^(g-1). With the name on neither side the first rule is
// used, so a negative base gives 0 * NaN = NaN, as documented.
double PowerOperation::derivativeValue(const QString &name) const
{
    if (!isDifferentiable(name))
        return 0.0;
    const double f = m_left->evaluate();
    const double g = m_right->evaluate();
    if (!m_left->dependsOn(name))
        return m_right->derivativeValue(name) * (std::pow(f, g) * std::log(f));
    return m_left->derivativeValue(name) * (g * std::pow(f, g - 1.0));
}

std::unique_ptr<Equation> PowerOperation::derivative(const QString &name) const
{
    if (m_left->dependsOn(name)) {
        // (right * left^(right - 1)) * left'
        auto exponent = make<SubtractOperation>(m_right->clone(), std::make_unique<Literal>(1.0));
        return make<MultiplyOperation>(
            make<MultiplyOperation>(m_right->clone(),
                                    make<PowerOperation>(m_left->clone(), std::move(exponent))),
            m_left->derivative(name));
    }
    // ((left^right) * log(left)) * right'
    return make<MultiplyOperation>(
        make<MultiplyOperation>(clone(), std::make_unique<LogOperation>(m_left->clone())),
        m_right->derivative(name));
}

} // namespace zav
