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

// The generating capture probability of occasion j (from 0): 0.30, 0.35,
// 0.40, ... repeating after eight occasions.
inline double captureProbability(int j)
{
    return 0.30 + 0.05 * (j % 8);
}

inline QString captureRecaptureWorkspace(int occasions, const QString &optimizer = QStringLiteral("powell"),
                                         const QString &requests = QStringLiteral(";"))
{
    constexpr double population = 500.0;
    QStringList parameters{QStringLiteral("N")}, functions, unseen, seeds{QStringLiteral("N = 600")};
    for (int j = 1; j <= occasions; ++j) {
        parameters << QStringLiteral("a%1").arg(j);
        functions << QStringLiteral("p%1 = invLogit(a%1)").arg(j);
        unseen << QStringLiteral("(1-p%1)").arg(j);
        seeds << QStringLiteral("a%1 = -0.5").arg(j);
    }
    QStringList categories, counts;
    for (int history = 1; history < (1 << occasions); ++history) {
        QString label;
        QStringList factors;
        double probability = 1.0;
        for (int j = 0; j < occasions; ++j) {
            const bool caught = (history >> j) & 1;
            const double p = captureProbability(j);
            label += caught ? u'1' : u'0';
            factors << (caught ? QStringLiteral("p%1") : QStringLiteral("(1-p%1)")).arg(j + 1);
            probability *= caught ? p : 1.0 - p;
        }
        categories << label + QStringLiteral(", ") + factors.join(u'*');
        counts << label + QStringLiteral(" : ") + QString::number(std::lround(population * probability));
    }
    return QStringLiteral("parameters\n") + parameters.join(QStringLiteral(", ")) + QStringLiteral(";\n\nvariables\n")
         + functions.join(QStringLiteral(",\n")) + QStringLiteral(";\n\nlikelihood \"Captures\"\n")
         + categories.join(QStringLiteral(",\n")) + QStringLiteral(",\n, ") + unseen.join(u'*')
         + QStringLiteral(", N;\n\noptimizer\n") + optimizer
         + QStringLiteral(", usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes;\n\nparameterSeeds\n")
         + seeds.join(QStringLiteral(",\n")) + QStringLiteral(";\n\nprofileLikelihoodRequests") + requests
         + QStringLiteral("\n\n") + counts.join(u'\n') + u'\n';
}

} // namespace support
