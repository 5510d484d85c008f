#include "estimation/ProfileLikelihoodsEstimator.h"

#include "estimation/CovarianceEstimator.h"
#include "estimation/FunctionProfileFit.h"
#include "estimation/ParameterProfileFit.h"
#include "estimation/ProfileLimitSearch.h"
#include "likelihood/CompiledFormula.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "optim/Matrix.h"

#include <QThread>
#include <QThreadPool>

#include <future>
#include <memory>
#include <optional>

namespace pelk {

namespace {

using Search = zav::ProfileLimitSearch;

// A quantity requested at one level or more: what its searches share.
struct Profiled
{
    bool isParameter = true;
    int index = 0;
    QString name;
    Search::Quantity quantity;
    std::optional<CompiledFormula> function; // for a convenience function
    double precision = 0.0;
};

// One requested (quantity, level): two searches.
struct Pair
{
    const Profiled *profiled;
    int alphaIndex;
};

// What one search leaves for the log and the results.
struct Outcome
{
    std::vector<std::pair<double, double>> points; // (q, chi2)
    Search::Result result;
};

// The standard error of a quantity with gradient g at the estimates, and
// the direction in which the covariance moves the parameters with it.
void describeByCovariance(const std::vector<double> &g, const zav::Matrix &s, Search::Quantity &quantity)
{
    const int n = int(g.size());
    std::vector<double> sg(g.size(), 0.0);
    double variance = 0.0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            sg[std::size_t(i)] += s(i, j) * g[std::size_t(j)];
        variance += g[std::size_t(i)] * sg[std::size_t(i)];
    }
    if (!(variance > 0.0) || !std::isfinite(variance))
        return;
    quantity.standardError = std::sqrt(variance);
    for (double &d : sg)
        d /= variance;
    quantity.direction = std::move(sg);
}

QString betterOptimumMessage(const QString &name, const Search::Result &result, double estimatesLogLikelihood)
{
    return QStringLiteral("A better optimum: the profile of %1 at %2 has log-likelihood %3, above %4 at the "
                          "estimates. The estimates are not the maximum: re-estimate the parameters from a "
                          "better start before computing limits.")
        .arg(name, QString::number(result.limit.value, 'g', 10),
             QString::number(result.betterLogLikelihood, 'g', 10),
             QString::number(estimatesLogLikelihood, 'g', 10));
}

} // namespace

void ProfileLikelihoodsEstimator::run()
{
    if (!m_model || !m_parameterRequests || !m_variableRequests || !m_estimates || !m_function || !m_settings)
        return;
    postStatus(QStringLiteral("Estimating profile likelihood confidence intervals..."));
    const int n = m_model->parameterCount();
    const zav::Matrix *covariance = m_covarianceSource ? m_covarianceSource->computedCovariance() : nullptr;
    if (covariance && (covariance->rows() != n || covariance->columns() != n))
        covariance = nullptr;
    PelkLikelihoodFunc objective = *m_function;
    const double minimum = objective(*m_estimates);

    // Each requested quantity once, then its pairs in the sequential order:
    // parameters, then functions, each by position and level.
    std::vector<std::unique_ptr<Profiled>> quantities;
    std::vector<Pair> pairs;
    for (const bool isParameter : {true, false}) {
        const ProfileLikelihoods &requests = isParameter ? *m_parameterRequests : *m_variableRequests;
        const int count = isParameter ? n : m_model->variableCount();
        for (int i = 0; i < count; ++i) {
            std::unique_ptr<Profiled> profiled;
            for (int alpha = 0; alpha < ProfileLikelihoods::alphaLevelCount(); ++alpha) {
                if (!requests.isRequested(i, alpha))
                    continue;
                if (!profiled) {
                    profiled = std::make_unique<Profiled>();
                    profiled->isParameter = isParameter;
                    profiled->index = i;
                    profiled->quantity.minimum = minimum;
                    std::vector<double> gradient(std::size_t(n), 0.0);
                    if (isParameter) {
                        profiled->name = m_model->parameterName(i);
                        profiled->quantity.estimate = m_estimates->at(std::size_t(i));
                        gradient[std::size_t(i)] = 1.0;
                    } else {
                        profiled->name = m_model->variableName(i);
                        profiled->function.emplace(*m_model->variableEquation(i), n);
                        profiled->quantity.estimate = profiled->function->valueAndGradient(*m_estimates, gradient);
                    }
                    if (covariance)
                        describeByCovariance(gradient, *covariance, profiled->quantity);
                    profiled->precision = Search::precisionFor(profiled->quantity.estimate, m_precision);
                }
                pairs.push_back({profiled.get(), alpha});
            }
            if (profiled)
                quantities.push_back(std::move(profiled));
        }
    }
    beginProgress(2 * int(pairs.size()));

    std::vector<Outcome> outcomes(2 * pairs.size());
    std::vector<std::promise<void>> done(outcomes.size());
    QThreadPool pool; // declared last: its destructor waits for every search
    pool.setMaxThreadCount(m_threadCount > 0 ? m_threadCount : QThread::idealThreadCount());
    for (std::size_t k = 0; k < outcomes.size(); ++k) {
        pool.start([this, k, &pairs, &outcomes, &done, &objective, covariance] {
            const Pair &pair = pairs[k / 2];
            const Profiled &profiled = *pair.profiled;
            Outcome &outcome = outcomes[k];
            try {
                std::unique_ptr<zav::ProfileFit> fit;
                if (profiled.isParameter)
                    fit = std::make_unique<ParameterProfileFit>(objective, profiled.index, covariance);
                else
                    fit = std::make_unique<FunctionProfileFit>(objective, *profiled.function, *m_settings);
                Search search(*fit, *m_estimates, profiled.quantity, profiled.precision,
                              [&outcome](double q, double chi) { outcome.points.emplace_back(q, chi); });
                const auto side = k % 2 == 0 ? Search::Lower : Search::Upper;
                outcome.result = search.find(side, Search::targetChiSquared[pair.alphaIndex], cancelFlag());
            } catch (...) {
                // Nothing may escape a pool thread; a search that cannot
                // even be set up has no limit.
                outcome.result.message = QStringLiteral("Profile likelihood limit not found");
            }
            done[k].set_value();
        });
    }

    int sidesDone = 0;
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        const Profiled &profiled = *pairs[p].profiled;
        const int alphaIndex = pairs[p].alphaIndex;
        const double target = Search::targetChiSquared[alphaIndex];
        // "Convenience function " ends in a blank, so that header shows two.
        const QString kindText
            = profiled.isParameter ? QStringLiteral("Parameter") : QStringLiteral("Convenience function ");
        ProfileResult result;
        result.displayDigits = Search::displayDigits(profiled.precision);
        for (const int side : {0, 1}) {
            postStatus(kindText + u' ' + profiled.name + QStringLiteral(", alpha level = ")
                       + ProfileLikelihoods::alphaLevels().at(alphaIndex)
                       + (side == 0 ? QStringLiteral(", lower boundary") : QStringLiteral(", upper boundary")));
            postStatus(QStringLiteral("mle\tvalue\tchi-squared\ttarget chi-squared"));
            postStatus(QStringLiteral("---\t-----\t-----------\t------------------"));
            const std::size_t k = 2 * p + std::size_t(side);
            done[k].get_future().wait();
            const Outcome &outcome = outcomes[k];
            for (const auto &[q, chi] : outcome.points)
                emit profileStatus(profiled.quantity.estimate, q, chi, target);
            if (isCanceled())
                return;
            const Search::Result &search = outcome.result;
            if (search.limit.status == ProfileLimitStatus::NotFound)
                postError(search.message);
            else if (search.limit.status == ProfileLimitStatus::BetterOptimum)
                postError(betterOptimumMessage(profiled.name, search, -minimum));
            (side == 0 ? result.lower : result.upper) = search.limit;
            postProgress(++sidesDone);
        }
        ProfileLikelihoods &requests = profiled.isParameter ? *m_parameterRequests : *m_variableRequests;
        requests.setResult(profiled.index, alphaIndex, result);
    }
    postStatus(QStringLiteral("ProfileLikelihood estimation complete."));
}

} // namespace pelk
