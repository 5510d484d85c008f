// A set of models fitted to the same data, ranked and averaged (Burnham and
// Anderson 2002). For model i with k_i parameters, log-likelihood LL_i and
// sample size n:
//   AICc_i   = AIC_i + 2k(k+1)/(n-k-1)
//   QAICc_i  = -2 LL_i / c + 2K + 2K(K+1)/(n-K-1), K = k + 1 (c-hat counts)
//   Delta_i  = criterion_i - min_j criterion_j
//   w_i      = exp(-Delta_i/2) / sum_j exp(-Delta_j/2)        (Akaike weight)
// The table is ranked by AICc, by AIC when AICc is missing for any model
// (a set must be ranked on one scale), or by QAICc when c-hat is given.
// A quantity (parameter or convenience function, matched by name) is
// averaged with the weights of the ranking:
//   theta_bar = sum w_i theta_i
//   se(theta_bar) = sum w_i sqrt(c var_i + (theta_i - theta_bar)^2)   (eq. 4.9)
// and declared nested pairs get a likelihood-ratio test,
//   2 (LL_general - LL_simpler) / c ~ chi-squared(k_general - k_simpler).
// Refusals (names, data, nesting) leave only the message.
#pragma once

#include "compare/ModelRecord.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

namespace pelk {

class ModelComparison
{
public:
    struct Options
    {
        std::optional<double> chat; // the c-hat given, or none
        QList<QPair<QString, QString>> nested; // (simpler, general) by name
        bool averagePartial = false; // average quantities that only some models have
    };

    enum class Criterion { Aicc, Aic, Qaicc };

    struct Row
    {
        ModelRecord model;
        // Delta and weight on AICc, or on AIC when the set is ranked by AIC.
        double delta = 0.0;
        double weight = 0.0;
        double cumulativeWeight = 0.0; // of the ranking's weights, down the table
        std::optional<double> qaicc, deltaQaicc, qaiccWeight; // with c-hat only
        double rankingWeight() const { return qaiccWeight ? *qaiccWeight : weight; }
    };

    struct Averaged
    {
        QString name;
        double estimate = 0.0;
        std::optional<double> unconditionalSe; // none when a model has no s.e. for it
        QStringList modelNames; // the models that have it, in table order
    };

    struct LikelihoodRatioTest
    {
        QString simpler;
        QString general;
        double statistic = 0.0;
        int df = 0;
        double p = 1.0;
    };

    // Above this drop of log-likelihood from the simpler to the more
    // general model, the pair is not nested as declared. Separate runs stop
    // when the objective moves by less than their tolerance, so equal
    // maxima can differ in the last digits; a thousandth of a unit is far
    // above that noise, and a statistic of 0.002 is far from any test's
    // critical value, so a difference below it is read as zero.
    static constexpr double logLikelihoodTolerance = 1e-3;

    static ModelComparison compare(const QList<ModelRecord> &models, const Options &options);

    QString refusal; // non-empty: the set was refused, and nothing else is set
    Criterion rankedBy = Criterion::Aicc;
    std::optional<double> chatUsed; // max(c-hat, 1)
    QList<Row> rows; // in table order
    QList<Averaged> averaged;
    QList<LikelihoodRatioTest> tests;
    QStringList notes; // what the table must say beside its numbers

private:
    void rank(const QList<ModelRecord> &models);
    void average(bool partial);
    bool test(const QList<QPair<QString, QString>> &nested);
};

} // namespace pelk
