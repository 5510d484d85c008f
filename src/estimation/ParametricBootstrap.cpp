#include "estimation/ParametricBootstrap.h"

#include "estimation/EstimationSummary.h"
#include "estimation/RestartedMinimization.h"
#include "model/Workspace.h"
#include "optim/AbstractOptimizer.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace pelk {

namespace {

zav::OptimizerSettings runnable(zav::OptimizerSettings settings)
{
    // As pelk-cli estimate: a workspace without a method is fitted by Powell's.
    if (settings.type == zav::OptimizerFactory::NoOptimizer)
        settings.type = zav::OptimizerFactory::Powell;
    return settings;
}

} // namespace

ParametricBootstrap::Observed ParametricBootstrap::observedFrom(const EstimationSummary &summary)
{
    return {summary.goodnessOfFit.deviance, summary.goodnessOfFit.pearson, summary.freeParameters,
            summary.dataFingerprint};
}

ParametricBootstrap::ParametricBootstrap(const Workspace &workspace, std::vector<double> estimates,
                                         Observed observed)
    : m_workspace(workspace),
      m_estimates(std::move(estimates)),
      m_observed(std::move(observed)),
      m_optimizer(runnable(workspace.optimizer)),
      m_replicates(workspace.model, workspace.categoryCounts, m_estimates),
      m_prototype(workspace.model, workspace.categoryCounts, true)
{}

BootstrapResult::Replicate ParametricBootstrap::refit(std::uint64_t seed, int replicate,
                                                      zav::AbstractOptimizer &optimizer,
                                                      const zav::CancelFlag *cancelFlag) const
{
    BootstrapResult::Replicate row;
    row.replicate = replicate;
    row.failed = true;
    try {
        const BootstrapReplicate::Data data = m_replicates.draw(seed, replicate);
        PelkLikelihoodFunc objective = m_prototype.withCounts(m_workspace.model, data.counts);
        for (const auto &[position, value] : data.normalObservations)
            objective.setObservedValue(position, value);
        std::vector<double> point = m_estimates;
        for (const auto &[parameter, seen] : data.abundanceTotals)
            if (point[std::size_t(parameter)] < double(seen))
                point[std::size_t(parameter)] = std::max(m_estimates[std::size_t(parameter)], double(seen) + 0.5);
        RestartedMinimization::run(optimizer, m_optimizer.type == zav::OptimizerFactory::Simplex, objective, point,
                                   cancelFlag);
        if (zav::isCancelled(cancelFlag) || !zav::isUsable(objective(point)))
            return row;
        const GoodnessOfFit fit = objective.goodnessOfFit(point, m_observed.freeParameters);
        if (!fit.deviance || !fit.pearson)
            return row;
        row.failed = false;
        row.deviance = *fit.deviance;
        row.pearson = *fit.pearson;
    } catch (...) {
        // NRError from the method (iteration limits, invalid seeds) or
        // anything else: the replicate failed; nothing may leave a thread.
    }
    return row;
}

std::optional<BootstrapResult> ParametricBootstrap::run(const Options &options, const zav::CancelFlag *cancelFlag,
                                                        const Progress &progress) const
{
    BootstrapResult result;
    result.seed = options.seed;
    result.totalReplicates = options.replicates;
    result.shardIndex = options.shardIndex;
    result.shardCount = options.shardCount;
    result.dataFingerprint = m_observed.dataFingerprint;
    result.observedDeviance = m_observed.deviance;
    result.observedPearson = m_observed.pearson;
    const int first = BootstrapResult::firstReplicate(options.shardIndex, options.shardCount, options.replicates);
    const int count
        = BootstrapResult::lastReplicate(options.shardIndex, options.shardCount, options.replicates) - first + 1;
    result.results.resize(std::size_t(std::max(0, count)));

    // Each slot of result.results is written by one thread; `done` and the
    // progress callback are guarded by the mutex; the joins publish the
    // rows to this thread.
    std::atomic<int> next{0};
    std::mutex mutex;
    int done = 0;
    const auto work = [&] {
        const auto optimizer = m_optimizer.createOptimizer();
        for (int k = next++; k < count; k = next++) {
            if (zav::isCancelled(cancelFlag))
                return;
            result.results[std::size_t(k)] = refit(options.seed, first + k, *optimizer, cancelFlag);
            const std::lock_guard<std::mutex> lock(mutex);
            ++done;
            if (progress)
                progress(done, count);
        }
    };
    const int threadCount
        = std::max(1, std::min(count, options.threadCount > 0 ? options.threadCount : QThread::idealThreadCount()));
    std::vector<std::thread> threads;
    for (int i = 0; i < threadCount; ++i)
        threads.emplace_back(work);
    for (std::thread &thread : threads)
        thread.join();
    if (zav::isCancelled(cancelFlag) || done != count)
        return std::nullopt;
    return result;
}

} // namespace pelk
