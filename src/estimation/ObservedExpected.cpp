#include "estimation/ObservedExpected.h"

#include "model/ModelDefinition.h"

#include <cmath>

namespace pelk {

double anscombeResidual(double observed, double expected)
{
    constexpr double twoThirds = 0.6666666666666666;
    constexpr double oneSixth = 0.16666666666666666;
    return 1.5 * (std::pow(observed, twoThirds) - std::pow(expected, twoThirds))
        / std::pow(expected, oneSixth);
}

QList<ObservedExpectedRow> observedExpectedRows(const ModelDefinition &model,
                                                const std::vector<double> &estimates,
                                                const QMap<QString, int> &categoryCounts)
{
    model.pointParametersAt(&estimates);

    QList<ObservedExpectedRow> rows;
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        if (!model.isMultinomial(id))
            continue;
        const int count = model.categoryCount(id);
        const zav::Equation *abundance = model.abundanceSymbol(id);
        const bool unobserved = model.hasUnobservedCategory(id) && abundance;
        const double n = unobserved ? abundance->evaluate() : 0.0;
        // The rows get their observed counts first, from one lookup each:
        // the expected counts need the observed total.
        const qsizetype first = rows.size();
        rows.reserve(first + count + 1);
        double observedTotal = 0.0;
        for (int i = 0; i < count; ++i) {
            const QString label = model.categoryLabel(id, i);
            const double observed = categoryCounts.value(label, 0);
            rows.append({label, observed, 0.0, 0.0});
            observedTotal += observed;
        }
        // Expected counts are probabilities times the abundance, or times
        // the observed total when every category is observed.
        const double total = unobserved ? n : observedTotal;
        for (int i = 0; i < count; ++i)
            rows[first + i].expected = model.categoryEquation(id, i)->evaluate() * total;
        if (unobserved)
            rows.append({model.likelihoodName(id) + QStringLiteral(" unobserved"), n - observedTotal,
                         model.categoryEquation(id, count)->evaluate() * n, 0.0});
    }
    for (ObservedExpectedRow &row : rows)
        row.residual = anscombeResidual(row.observed, row.expected);
    return rows;
}

} // namespace pelk
