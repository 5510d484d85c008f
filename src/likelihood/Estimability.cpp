#include "likelihood/Estimability.h"

#include "expr/Equation.h"
#include "likelihood/CompiledFormula.h"
#include "likelihood/SVD.h"
#include "model/ModelDefinition.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <vector>

namespace pelk {

namespace {

// A category whose probability is the constant 0 can never be counted: it
// adds nothing to the statistic. (A formula without term keys reads no
// parameter, so its value is the same at any point.)
bool isStructuralZero(const zav::Equation *probability, const QSet<QString> &terms, int parameterCount)
{
    return !probability
        || (terms.isEmpty()
            && CompiledFormula(*probability, parameterCount)
                    .value(std::vector<double>(std::size_t(parameterCount), 0.0))
                == 0.0);
}

} // namespace

int sufficientStatisticDimension(const ModelDefinition &model)
{
    // The term keys of every regular category that can be counted, in row
    // order, with its likelihood; the column of each distinct key in order
    // of first appearance, after one column per multinomial likelihood.
    struct Row
    {
        QSet<QString> terms;
        int likelihood;
    };
    QList<Row> rows;
    QHash<QString, int> columns;
    int multinomials = 0;
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        if (!model.isMultinomial(id))
            continue;
        for (int i = 0; i < model.categoryCount(id); ++i) {
            QSet<QString> terms;
            const zav::Equation *probability = model.categoryEquation(id, i);
            if (probability)
                probability->collectTerms(terms);
            if (isStructuralZero(probability, terms, model.parameterCount()))
                continue;
            for (const QString &term : std::as_const(terms))
                columns.insert(term, columns.value(term, int(columns.size())));
            rows.append({terms, multinomials});
        }
        ++multinomials;
    }

    zav::Matrix design(int(rows.size()), multinomials + int(columns.size()));
    for (int row = 0; row < rows.size(); ++row) {
        design(row, rows.at(row).likelihood) = 1.0;
        for (const QString &term : rows.at(row).terms)
            design(row, multinomials + columns.value(term)) = 1.0;
    }
    return zav::SVD(design).rank() - model.likelihoodCount();
}

bool isEstimabilityDecidable(const ModelDefinition &model)
{
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        if (!model.isMultinomial(id) || model.hasUnobservedCategory(id))
            return false;
    }
    return true;
}

} // namespace pelk
