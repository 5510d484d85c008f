// 30 successes in 100 trials as a workspace file: the parameter p, the
// function odds = p/(1-p), the likelihood "Trials" (success p, failure
// 1-p), Powell's method with the covariance, the seed 0.5 and no profile
// requests. Each part can be replaced. The maximum is at p = 0.3, where
// var p = 0.3 * 0.7 / 100.
#pragma once

#include <QString>

namespace support {

struct Binomial
{
    QString parameters = "p";
    QString variables = "odds = p/(1-p)"; // empty: none
    QString categories = "success, p,\nfailure, 1-p";
    QString method = "powell";
    bool covariance = true;
    QString seeds = "p = 0.5";
    QString requests; // "p = 0.05", ...; empty: none
    QString counts = "success : 30\nfailure : 70";

    QString text() const
    {
        const auto section = [](const QString &keyword, const QString &entries) {
            return keyword + (entries.isEmpty() ? QString(";\n\n") : '\n' + entries + ";\n\n");
        };
        return section("parameters", parameters) + section("variables", variables)
             + section("likelihood \"Trials\"", categories) + "optimizer\n" + method
             + ", usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = " + (covariance ? "yes" : "no")
             + ";\n\n" + section("parameterSeeds", seeds) + section("profileLikelihoodRequests", requests)
             + (requests.isEmpty() ? "" : "\n") + counts + '\n';
    }
};

} // namespace support
