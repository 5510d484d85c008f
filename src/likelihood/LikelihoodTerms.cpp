#include "likelihood/LikelihoodTerms.h"

#include "model/ModelDefinition.h"

namespace pelk {

LikelihoodTerms::LikelihoodTerms(const ModelDefinition &model, const QMap<QString, int> &categoryCounts)
{
    m_likelihoods.reserve(std::size_t(model.likelihoodCount()));
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        Likelihood likelihood;
        likelihood.name = model.likelihoodName(id);
        if (!model.isMultinomial(id)) {
            likelihood.observed = addFormula(model.observedEquation(id), true);
            likelihood.expected = addFormula(model.expectedEquation(id), true);
            likelihood.standardError = addFormula(model.standardErrorEquation(id), true);
            m_likelihoods.push_back(likelihood);
            continue;
        }
        // A label without an entry counts 0: the editors and the file reader
        // give every category an entry, so a missing one can only mean that
        // nothing was counted, and a zero count leaves the category's formula
        // out of the likelihood instead of reading a value that is not there.
        double total = 0.0;
        double sumOfLogFactorials = 0.0;
        const int categoryCount = model.categoryCount(id);
        for (int i = 0; i < categoryCount; ++i) {
            const double count = categoryCounts.value(model.categoryLabel(id, i), 0);
            const int formula = addFormula(model.categoryEquation(id, i), count > 0.0);
            if (count > 0.0) {
                likelihood.counts.push_back(count);
                likelihood.probabilities.push_back(formula);
            }
            likelihood.allCounts.push_back(count);
            likelihood.allProbabilities.push_back(formula);
            total += count;
            sumOfLogFactorials += zav::gammln(count + 1.0);
        }
        likelihood.totalObserved = total;
        if (model.hasUnobservedCategory(id)) {
            likelihood.kind = Likelihood::Kind::WithUnobservedCategory;
            likelihood.unobserved = addFormula(model.categoryEquation(id, categoryCount), true);
            likelihood.abundance = addFormula(model.abundanceSymbol(id), true);
            likelihood.sumOfCountLogFactorials = sumOfLogFactorials;
        } else {
            likelihood.kind = Likelihood::Kind::Multinomial;
            likelihood.multinomialConstant = zav::gammln(total + 1.0) - sumOfLogFactorials;
        }
        m_likelihoods.push_back(std::move(likelihood));
    }
}

void LikelihoodTerms::setObservedValue(int position, double value)
{
    Likelihood &likelihood = m_likelihoods.at(std::size_t(position));
    Q_ASSERT(likelihood.kind == Likelihood::Kind::Normal);
    likelihood.observedIsValue = true;
    likelihood.observedValue = value;
}

std::vector<int> LikelihoodTerms::abundanceFormulas() const
{
    std::vector<int> formulas;
    for (const Likelihood &likelihood : m_likelihoods)
        if (likelihood.abundance >= 0)
            formulas.push_back(likelihood.abundance);
    return formulas;
}

double LikelihoodTerms::sampleSize() const
{
    double n = 0.0;
    for (const Likelihood &likelihood : m_likelihoods)
        n += likelihood.kind == Likelihood::Kind::Normal ? 1.0 : likelihood.totalObserved;
    return n;
}

int LikelihoodTerms::addFormula(const zav::Equation *equation, bool read)
{
    if (!equation)
        return -1;
    m_formulas.push_back(equation);
    m_read.push_back(read);
    return int(m_formulas.size()) - 1;
}

} // namespace pelk
