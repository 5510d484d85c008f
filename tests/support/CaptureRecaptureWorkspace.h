// A closed-population capture-recapture workspace with t capture occasions
// (model M_t): abundance N, capture probabilities p_j = invLogit(a_j), one
// category per capture history (2^t - 1 of them) with probability
// prod_j (p_j or 1 - p_j), and the unobserved category prod_j (1 - p_j).
// Counts are the expected counts of a population of 500 rounded, so the
// estimates lie near the generating values.
#pragma once

#include <QString>
#include <QStringList>

#include <cmath>

namespace support {

// Generating capture probabilities: 0.30, 0.35, 0.40, ...
inline double captureProbability(int occasion)
{
    return 0.30 + 0.05 * (occasion % 8);
}

inline QString historyLabel(int history, int occasions)
{
    QString label;
    for (int j = 0; j < occasions; ++j)
        label += (history >> j) & 1 ? u'1' : u'0';
    return label;
}

inline QString captureRecaptureWorkspace(int occasions, const QString &optimizer = QStringLiteral("powell"),
                                         const QString &requests = QStringLiteral(";"))
{
    constexpr double population = 500.0;
    QStringList parameters{QStringLiteral("N")};
    QStringList functions;
    for (int j = 1; j <= occasions; ++j) {
        parameters << QStringLiteral("a%1").arg(j);
        functions << QStringLiteral("p%1 = invLogit(a%1)").arg(j);
    }
    QString text = QStringLiteral("parameters\n") + parameters.join(QStringLiteral(", ")) + QStringLiteral(";\n\nvariables\n")
                 + functions.join(QStringLiteral(",\n")) + QStringLiteral(";\n\nlikelihood \"Captures\"\n");
    QStringList categories;
    QStringList counts;
    for (int history = 1; history < (1 << occasions); ++history) {
        QStringList factors;
        double probability = 1.0;
        for (int j = 0; j < occasions; ++j) {
            const bool caught = (history >> j) & 1;
            factors << (caught ? QStringLiteral("p%1") : QStringLiteral("(1-p%1)")).arg(j + 1);
            probability *= caught ? captureProbability(j) : 1.0 - captureProbability(j);
        }
        const QString label = historyLabel(history, occasions);
        categories << label + QStringLiteral(", ") + factors.join(u'*');
        counts << label + QStringLiteral(" : ") + QString::number(std::lround(population * probability));
    }
    QStringList unseenFactors;
    for (int j = 1; j <= occasions; ++j)
        unseenFactors << QStringLiteral("(1-p%1)").arg(j);
    text += categories.join(QStringLiteral(",\n")) + QStringLiteral(",\n, ") + unseenFactors.join(u'*')
          + QStringLiteral(", N;\n\noptimizer\n") + optimizer
          + QStringLiteral(", usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes;\n\nparameterSeeds\n");
    QStringList seeds{QStringLiteral("N = 600")};
    for (int j = 1; j <= occasions; ++j)
        seeds << QStringLiteral("a%1 = -0.5").arg(j);
    text += seeds.join(QStringLiteral(",\n")) + QStringLiteral(";\n\nprofileLikelihoodRequests") + requests
          + QStringLiteral("\n\n") + counts.join(u'\n') + u'\n';
    return text;
}

} // namespace support
