#include "likelihood/GoodnessOfFit.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <algorithm>
#include <cmath>

namespace pelk {

namespace {

// P(chi-squared with df degrees of freedom >= statistic). At an exact fit
// the deviance's terms cancel to a rounding error that may be below 0 (a
// few 1e-14): that is 0.
std::optional<double> upperTail(double statistic, int df)
{
    if (!std::isfinite(statistic))
        return std::nullopt;
    const boost::math::chi_squared distribution(df);
    return boost::math::cdf(boost::math::complement(distribution, std::max(statistic, 0.0)));
}

QString likelihoodName(const QString &name)
{
    return u'"' + name + u'"';
}

} // namespace

GoodnessOfFit GoodnessOfFit::compute(const std::vector<MultinomialCells> &multinomials,
                                     const std::vector<NormalCell> &normals, int freeParameters)
{
    GoodnessOfFit fit;
    int cells = 0;
    for (const MultinomialCells &likelihood : multinomials)
        cells += int(likelihood.observed.size()) - 1;
    cells += int(normals.size());
    const int df = cells - freeParameters;

    double deviance = 0.0, pearson = 0.0;
    int expectedCount = 0, belowFive = 0, belowOne = 0;
    for (const MultinomialCells &likelihood : multinomials) {
        double total = 0.0, probabilitySum = 0.0;
        for (std::size_t i = 0; i < likelihood.observed.size(); ++i) {
            total += likelihood.observed[i];
            probabilitySum += likelihood.probability[i];
        }
        if (!(probabilitySum > 0.0) || !std::isfinite(probabilitySum)) {
            fit.reason
                = QStringLiteral("The probabilities of the categories of %1 do not have a positive sum at "
                                 "the estimates.")
                      .arg(likelihoodName(likelihood.likelihood));
            return fit;
        }
        for (std::size_t i = 0; i < likelihood.observed.size(); ++i) {
            const double observed = likelihood.observed[i];
            const double expected = total * likelihood.probability[i] / probabilitySum;
            if (expected == 0.0 && observed > 0.0) {
                fit.reason
                    = QStringLiteral("A category of %1 with a positive count has an expected count of 0: "
                                     "the deviance and X^2 are infinite.")
                          .arg(likelihoodName(likelihood.likelihood));
                return fit;
            }
            if (!(expected >= 0.0) || !std::isfinite(expected)) {
                fit.reason = QStringLiteral("A category of %1 has the expected count %2 at the estimates.")
                                 .arg(likelihoodName(likelihood.likelihood), QString::number(expected));
                return fit;
            }
            if (observed > 0.0)
                deviance += observed * std::log(observed / expected);
            if (expected > 0.0)
                pearson += (observed - expected) * (observed - expected) / expected;
            // A cell that can hold nothing (E = 0, O = 0) is no cell of the
            // test, and no small expected count.
            if (expected == 0.0)
                continue;
            ++expectedCount;
            belowFive += expected < 5.0;
            belowOne += expected < 1.0;
        }
    }
    deviance *= 2.0;
    for (const NormalCell &normal : normals) {
        if (!normal.fixedStandardError) {
            fit.reason = QStringLiteral("The standard error of the normal likelihood %1 depends on the "
                                        "parameters: its z^2 is not a chi-squared cell, so the model has no "
                                        "goodness-of-fit test.")
                             .arg(likelihoodName(normal.likelihood));
            return fit;
        }
        if (!std::isfinite(normal.z)) {
            fit.reason = QStringLiteral("The normal likelihood %1 has no finite z at the estimates.")
                             .arg(likelihoodName(normal.likelihood));
            return fit;
        }
        deviance += normal.z * normal.z;
        pearson += normal.z * normal.z;
    }
    fit.deviance = deviance;
    fit.pearson = pearson;
    if (df <= 0) {
        fit.reason
            = (df == 0
                   ? QStringLiteral("The model is saturated: its %1 free parameters leave none of the %2 "
                                    "independent cells for a test of fit.")
                   : QStringLiteral("The model has more free parameters (%1) than independent cells (%2): "
                                    "there are no degrees of freedom for a test of fit."))
                  .arg(freeParameters)
                  .arg(cells);
        return fit;
    }
    fit.df = df;
    fit.devianceP = upperTail(deviance, df);
    fit.pearsonP = upperTail(pearson, df);
    fit.chat = pearson / df;
    if (belowOne > 0 || belowFive > smallExpectedShare * expectedCount)
        fit.warning = QStringLiteral("%1 of %2 expected counts are below 5 and %3 below 1: the chi-squared "
                                     "p-values are unreliable; use the parametric bootstrap.")
                          .arg(belowFive)
                          .arg(expectedCount)
                          .arg(belowOne);
    return fit;
}

} // namespace pelk
