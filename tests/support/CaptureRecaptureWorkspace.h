// A closed-population capture-recapture workspace with t capture occasions
// (model M_t): abundance N, capture probabilities p_j = invLogit(a_j), one
// category per capture history (2^t - 1 of them) with probability
// prod_j (p_j or 1 - p_j), and the unobserved category prod_j (1 - p_j).
// Counts are the expected counts of a population (500 unless given)
// rounded, so the estimates lie near the generating values. With the
// default probabilities nearly every animal is caught at least once, so
// N's profile stops at the number caught; a sparse study (lower
// probabilities, `sparse`) leaves a tenth or more unseen.
#pragma once

#include <QString>
#include <QStringList>

#include <cmath>

namespace support {

// The generating capture probability of occasion j (from 0): 0.30, 0.35,
// 0.40, ... repeating after eight occasions; a third of that when sparse.
inline double captureProbability(int j, bool sparse = false)
{
    return (0.30 + 0.05 * (j % 8)) / (sparse ? 3.0 : 1.0);
}

inline QString captureRecaptureWorkspace(int occasions, const QString &optimizer = QStringLiteral("powell"),
                                         const QString &requests = QStringLiteral(";"), double population = 500.0,
                                         bool sparse = false)
{
    QStringList parameters{QStringLiteral("N")}, functions, unseen, seeds{QStringLiteral("N = %1").arg(1.2 * population)};
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
            const double p = captureProbability(j, sparse);
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
