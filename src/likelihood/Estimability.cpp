#include "likelihood/Estimability.h"

#include "likelihood/SVD.h"
#include "model/ModelDefinition.h"

#include <QHash>
#include <QList>
#include <QSet>

namespace pelk {

int sufficientStatisticDimension(const ModelDefinition &model)
{
    // The term keys of every regular category, in row order, and the
    // column of each distinct key in order of first appearance.
    QList<QSet<QString>> rows;
    QHash<QString, int> columns;
    for (int position = 0; position < model.likelihoodCount(); ++position) {
        const int id = model.likelihoodId(position);
        if (!model.isMultinomial(id))
            continue;
        for (int i = 0; i < model.categoryCount(id); ++i) {
            QSet<QString> terms;
            if (const zav::Equation *probability = model.categoryEquation(id, i))
                probability->collectTerms(terms);
            for (const QString &term : std::as_const(terms))
                if (!columns.contains(term))
                    columns.insert(term, int(columns.size()));
            rows.append(terms);
        }
    }

    zav::Matrix design(int(rows.size()), int(columns.size()));
    for (int row = 0; row < rows.size(); ++row)
        for (const QString &term : rows.at(row))
            design(row, columns.value(term)) = 1.0;
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
