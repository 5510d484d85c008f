#include "compare/ModelComparison.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace pelk {

namespace {

QString quoted(const QString &name)
{
    return u'"' + name + u'"';
}

// Delta_i and the Akaike weights of values of one criterion.
void deltasAndWeights(const std::vector<double> &values, std::vector<double> &deltas, std::vector<double> &weights)
{
    const double best = *std::min_element(values.begin(), values.end());
    deltas.clear();
    weights.clear();
    for (double value : values) {
        deltas.push_back(value - best);
        weights.push_back(std::exp(-0.5 * deltas.back()));
    }
    const double sum = std::accumulate(weights.begin(), weights.end(), 0.0);
    for (double &weight : weights)
        weight /= sum;
}

} // namespace

ModelComparison ModelComparison::compare(const QList<ModelRecord> &models, const Options &options)
{
    ModelComparison comparison;
    if (options.chat) {
        comparison.chatUsed = std::max(*options.chat, 1.0);
        if (*options.chat < 1.0)
            comparison.notes.append(
                QStringLiteral("c-hat %1 is below 1: 1 is used.").arg(QString::number(*options.chat, 'g', 6)));
    }
    comparison.rank(models);
    if (comparison.refusal.isEmpty())
        comparison.average(options.averagePartial);
    if (comparison.refusal.isEmpty())
        comparison.test(options.nested);
    if (!comparison.refusal.isEmpty()) {
        ModelComparison refused;
        refused.refusal = comparison.refusal;
        return refused;
    }
    return comparison;
}

void ModelComparison::rank(const QList<ModelRecord> &models)
{
    if (models.isEmpty()) {
        refusal = QStringLiteral("There are no models to compare.");
        return;
    }
    QHash<QString, const ModelRecord *> byName;
    QStringList otherData;
    for (const ModelRecord &model : models) {
        if (const ModelRecord *other = byName.value(model.name)) {
            refusal = QStringLiteral("Two models are named %1: %2 and %3.")
                          .arg(quoted(model.name), other->fileName, model.fileName);
            return;
        }
        byName.insert(model.name, &model);
        if (model.dataFingerprint != models.first().dataFingerprint)
            otherData.append(quoted(model.name));
    }
    if (!otherData.isEmpty()) {
        refusal = QStringLiteral("Models fitted to other data than %1: %2. Models can only be compared "
                                 "on the same data.")
                      .arg(quoted(models.first().name), otherData.join(QLatin1String(", ")));
        return;
    }

    std::vector<double> values, deltas, weights;
    const bool everyAicc = std::all_of(models.begin(), models.end(), [](const ModelRecord &m) { return bool(m.aicc); });
    rankedBy = everyAicc ? Criterion::Aicc : Criterion::Aic;
    if (!everyAicc) {
        const auto missing = std::find_if(models.begin(), models.end(), [](const ModelRecord &m) { return !m.aicc; });
        notes.append(QStringLiteral("Ranked by AIC: AICc is not available for %1.").arg(quoted(missing->name)));
    }
    for (const ModelRecord &model : models)
        values.push_back(everyAicc ? *model.aicc : model.aic);
    deltasAndWeights(values, deltas, weights);
    for (int i = 0; i < models.size(); ++i) {
        Row row;
        row.model = models.at(i);
        row.delta = deltas.at(std::size_t(i));
        row.weight = weights.at(std::size_t(i));
        rows.append(row);
    }

    if (chatUsed) {
        rankedBy = Criterion::Qaicc;
        values.clear();
        for (const ModelRecord &model : models) {
            const double K = model.parameterCount + 1;
            const double n = model.sampleSize.value_or(0.0);
            if (!(n - K - 1 > 0)) {
                refusal = QStringLiteral("QAICc is not available for %1: it needs a sample size n above k + 2.")
                              .arg(quoted(model.name));
                return;
            }
            values.push_back(-2.0 * model.logLikelihood / *chatUsed + 2 * K + 2 * K * (K + 1) / (n - K - 1));
        }
        deltasAndWeights(values, deltas, weights);
        for (std::size_t i = 0; i < values.size(); ++i) {
            Row &row = rows[qsizetype(i)];
            row.qaicc = values.at(i);
            row.deltaQaicc = deltas.at(i);
            row.qaiccWeight = weights.at(i);
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        return (a.deltaQaicc ? *a.deltaQaicc : a.delta) < (b.deltaQaicc ? *b.deltaQaicc : b.delta);
    });
    double cumulative = 0.0;
    for (Row &row : rows)
        row.cumulativeWeight = cumulative += row.rankingWeight();
}

void ModelComparison::average(bool partial)
{
    QStringList names;
    for (const Row &row : std::as_const(rows))
        for (const ModelRecord::Quantity &quantity : row.model.quantities)
            if (!names.contains(quantity.name))
                names.append(quantity.name);
    const double c = chatUsed.value_or(1.0);
    bool someonePartial = false;
    for (const QString &name : std::as_const(names)) {
        struct Term
        {
            double weight;
            const ModelRecord::Quantity *quantity;
        };
        std::vector<Term> terms;
        Averaged averaged {name, 0.0, std::nullopt, {}};
        for (const Row &row : std::as_const(rows))
            for (const ModelRecord::Quantity &quantity : row.model.quantities)
                if (quantity.name == name) {
                    terms.push_back({row.rankingWeight(), &quantity});
                    averaged.modelNames.append(row.model.name);
                }
        if (terms.size() < std::size_t(rows.size())) {
            if (!partial)
                continue;
            someonePartial = true;
        }
        double weightSum = 0.0;
        for (const Term &term : terms)
            weightSum += term.weight;
        for (const Term &term : terms)
            averaged.estimate += term.weight / weightSum * term.quantity->estimate;
        double se = 0.0;
        bool everySe = true;
        for (const Term &term : terms) {
            everySe = everySe && term.quantity->standardError;
            if (!everySe)
                break;
            const double deviation = term.quantity->estimate - averaged.estimate;
            se += term.weight / weightSum
                * std::sqrt(c * *term.quantity->standardError * *term.quantity->standardError + deviation * deviation);
        }
        if (everySe)
            averaged.unconditionalSe = se;
        this->averaged.append(averaged);
    }
    if (someonePartial)
        notes.append(QStringLiteral("Some quantities are averaged over only the models that have them, with their "
                                    "weights renormalised; a name may not mean the same thing in every model."));
}

bool ModelComparison::test(const QList<QPair<QString, QString>> &nested)
{
    const auto find = [this](const QString &name) -> const ModelRecord * {
        for (const Row &row : std::as_const(rows))
            if (row.model.name == name)
                return &row.model;
        return nullptr;
    };
    const double c = chatUsed.value_or(1.0);
    for (const auto &[simplerName, generalName] : nested) {
        const ModelRecord *simpler = find(simplerName);
        const ModelRecord *general = find(generalName);
        if (!simpler || !general) {
            refusal = QStringLiteral("There is no model named %1 to test.").arg(quoted(simpler ? generalName : simplerName));
            return false;
        }
        const QString notNested = QStringLiteral("%1 is not nested in %2: ").arg(quoted(simplerName), quoted(generalName));
        const int df = general->parameterCount - simpler->parameterCount;
        if (df <= 0) {
            refusal = notNested
                + QStringLiteral("k = %1 for %2 and %3 for %4, so df = %5.")
                      .arg(simpler->parameterCount)
                      .arg(quoted(simplerName))
                      .arg(general->parameterCount)
                      .arg(quoted(generalName))
                      .arg(df);
            return false;
        }
        const double gain = general->logLikelihood - simpler->logLikelihood;
        if (gain < -logLikelihoodTolerance) {
            refusal = notNested
                + QStringLiteral("its log-likelihood %1 is above %2's %3.")
                      .arg(QString::number(simpler->logLikelihood, 'g', 10), quoted(generalName),
                           QString::number(general->logLikelihood, 'g', 10));
            return false;
        }
        const double statistic = std::max(0.0, 2.0 * gain) / c;
        const double p = boost::math::cdf(boost::math::complement(boost::math::chi_squared(df), statistic));
        tests.append({simplerName, generalName, statistic, df, p});
    }
    if (!tests.isEmpty() && c > 1.0)
        notes.append(QStringLiteral("Likelihood-ratio statistics are divided by c-hat = %1.")
                         .arg(QString::number(c, 'g', 6)));
    return true;
}

} // namespace pelk
