#include "estimation/ProfileLikelihoodsEstimator.h"

#include "estimation/CovarianceEstimator.h"
#include "estimation/ProfiledQuantity.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "optim/Matrix.h"

#include <QThread>

#include <algorithm>
#include <cmath>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <memory>

namespace pelk {

namespace {

using Search = zav::ProfileLimitSearch;

// One requested (quantity, level): two searches.
struct Pair
{
    const ProfiledQuantity *profiled;
    int alphaIndex;
};

// What one search leaves for the log and the results.
struct Outcome
{
    std::vector<std::pair<double, double>> points; // (q, chi2)
    Search::Result result;
};

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
    std::vector<std::unique_ptr<ProfiledQuantity>> quantities;
    std::vector<Pair> pairs;
    for (const bool isParameter : {true, false}) {
        const ProfileLikelihoods &requests = isParameter ? *m_parameterRequests : *m_variableRequests;
        const int count = isParameter ? n : m_model->variableCount();
        for (int i = 0; i < count; ++i) {
            for (int alpha = 0; alpha < ProfileLikelihoods::alphaLevelCount(); ++alpha) {
                if (!requests.isRequested(i, alpha))
                    continue;
                if (quantities.empty() || quantities.back()->isParameter() != isParameter
                    || quantities.back()->index() != i)
                    quantities.push_back(std::make_unique<ProfiledQuantity>(*m_model, isParameter, i, *m_estimates,
                                                                            minimum, covariance, m_precision));
                pairs.push_back({quantities.back().get(), alpha});
            }
        }
    }
    beginProgress(2 * int(pairs.size()));

    // The searches go to worker threads in sequential order; the log
    // follows them in that order as each one ends. Plain std::thread and
    // std::mutex, so that ThreadSanitizer sees every hand-over (Qt's own
    // pool synchronises where it cannot look).
    std::vector<Outcome> outcomes(2 * pairs.size());
    std::mutex mutex;
    std::condition_variable finishedChanged;
    std::vector<char> finished(outcomes.size(), 0);
    std::atomic<std::size_t> next{0};
    const auto runSearch = [&](std::size_t k) {
        const Pair &pair = pairs[k / 2];
        const ProfiledQuantity &profiled = *pair.profiled;
        Outcome &outcome = outcomes[k];
        try {
            const auto fit = profiled.makeFit(objective, covariance, *m_settings);
            Search search(*fit, *m_estimates, profiled.quantity(), profiled.precision(),
                          [&outcome](double q, double chi) { outcome.points.emplace_back(q, chi); });
            const auto side = k % 2 == 0 ? Search::Lower : Search::Upper;
            outcome.result = search.find(side, Search::targetChiSquared[pair.alphaIndex], cancelFlag());
        } catch (...) {
            // Nothing may escape a worker thread; a search that cannot even
            // be set up has no limit.
            outcome.result.message = QStringLiteral("Profile likelihood limit not found");
        }
    };
    const auto work = [&] {
        for (std::size_t k = next++; k < outcomes.size(); k = next++) {
            runSearch(k);
            const std::lock_guard<std::mutex> lock(mutex);
            finished[k] = 1;
            finishedChanged.notify_all();
        }
    };
    const std::size_t threadCount
        = std::min(outcomes.size(), std::size_t(m_threadCount > 0 ? m_threadCount : QThread::idealThreadCount()));
    // Joined on every way out of this function, a cancelled return
    // included: the workers read the locals above.
    struct Workers
    {
        std::vector<std::thread> threads;
        ~Workers()
        {
            for (std::thread &thread : threads)
                thread.join();
        }
    } workers;
    for (std::size_t i = 0; i < threadCount; ++i)
        workers.threads.emplace_back(work);

    int sidesDone = 0;
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        const ProfiledQuantity &profiled = *pairs[p].profiled;
        const int alphaIndex = pairs[p].alphaIndex;
        const double target = Search::targetChiSquared[alphaIndex];
        // "Convenience function " ends in a blank, so that header shows two.
        const QString kindText
            = profiled.isParameter() ? QStringLiteral("Parameter") : QStringLiteral("Convenience function ");
        ProfileResult result;
        result.displayDigits = Search::displayDigits(profiled.precision());
        for (const int side : {0, 1}) {
            postStatus(kindText + u' ' + profiled.name() + QStringLiteral(", alpha level = ")
                       + ProfileLikelihoods::alphaLevels().at(alphaIndex)
                       + (side == 0 ? QStringLiteral(", lower boundary") : QStringLiteral(", upper boundary")));
            postStatus(QStringLiteral("mle\tvalue\tchi-squared\ttarget chi-squared"));
            postStatus(QStringLiteral("---\t-----\t-----------\t------------------"));
            const std::size_t k = 2 * p + std::size_t(side);
            {
                std::unique_lock<std::mutex> lock(mutex);
                finishedChanged.wait(lock, [&] { return finished[k] != 0; });
            }
            const Outcome &outcome = outcomes[k];
            for (const auto &[q, chi] : outcome.points)
                emit profileStatus(profiled.quantity().estimate, q, chi, target);
            if (isCanceled())
                return;
            const Search::Result &search = outcome.result;
            if (search.limit.status == ProfileLimitStatus::NotFound)
                postError(search.message);
            else if (search.limit.status == ProfileLimitStatus::BetterOptimum)
                postError(betterOptimumMessage(profiled.name(), search, -minimum));
            (side == 0 ? result.lower : result.upper) = search.limit;
            for (const auto &point : outcome.points)
                if (!std::isnan(point.second))
                    result.points.push_back(point);
            postProgress(++sidesDone);
        }
        std::sort(result.points.begin(), result.points.end());
        ProfileLikelihoods &requests = profiled.isParameter() ? *m_parameterRequests : *m_variableRequests;
        requests.setResult(profiled.index(), alphaIndex, result);
    }
    postStatus(QStringLiteral("ProfileLikelihood estimation complete."));
}

} // namespace pelk
