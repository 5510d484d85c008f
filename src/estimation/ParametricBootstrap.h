// The parametric bootstrap of a fit: simulate the study many times from
// the fitted model (BootstrapReplicate), refit each replicate exactly as the
// observed data were fitted, and set the observed deviance and X^2 among
// those of the replicates (BootstrapResult).
//
// Refits run on plain std::threads, one per core unless told otherwise,
// that take replicate numbers from a shared counter. Each thread has its
// own optimizer, built from the workspace's method and settings, and
// evaluates each replicate on its own copy of the objective
// (PelkLikelihoodFunc::withCounts of one program compiled for every
// category); the model is only read. The outcome of a replicate depends on
// its number and the seed alone, so the result is the same for any number
// of threads and any split into shards.
//
// A refit starts from the estimates, except that an abundance below the
// replicate's total seen n* (where the objective cannot be computed)
// starts at max(N, n* + 0.5). A replicate whose refit throws, ends where
// the objective cannot be computed, or has no deviance or X^2 is counted
// as failed.
#pragma once

#include "estimation/BootstrapResult.h"
#include "likelihood/BootstrapReplicate.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "optim/CancelFlag.h"
#include "optim/OptimizerSettings.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace pelk {

struct EstimationSummary;
struct Workspace;

class ParametricBootstrap
{
public:
    // The seed of a run that names none.
    static constexpr std::uint64_t defaultSeed = 20240521;
    static constexpr int defaultReplicates = 1000;

    // What the replicates are compared with, from the observed fit.
    struct Observed
    {
        std::optional<double> deviance;
        std::optional<double> pearson;
        int freeParameters = 0; // as the observed goodness of fit used
        QString dataFingerprint;
    };
    static Observed observedFrom(const EstimationSummary &summary);

    struct Options
    {
        std::uint64_t seed = defaultSeed;
        int replicates = defaultReplicates; // B of the whole run
        int shardIndex = 1; // this process computes shard shardIndex of shardCount
        int shardCount = 1;
        int threadCount = 0; // 0: one per core
    };

    // Called on a worker thread (one at a time) after each replicate with
    // the number done and the number this run computes.
    using Progress = std::function<void(int done, int total)>;

    // The workspace's model must be validated and, like the workspace,
    // outlive this object and stay unchanged. Evaluates compiled copies of
    // the formulas at the estimates (never the trees). Throws NR3::NRError
    // when the fitted model cannot be simulated (see BootstrapReplicate).
    ParametricBootstrap(const Workspace &workspace, std::vector<double> estimates, Observed observed);

    // Computes the replicates of the options' shard and returns them, or
    // none when the flag was set before every replicate was done. Safe to
    // call from any thread; blocks until its threads are joined.
    std::optional<BootstrapResult> run(const Options &options, const zav::CancelFlag *cancelFlag = nullptr,
                                       const Progress &progress = {}) const;

private:
    BootstrapResult::Replicate refit(std::uint64_t seed, int replicate, zav::AbstractOptimizer &optimizer,
                                     const zav::CancelFlag *cancelFlag) const;

    const Workspace &m_workspace;
    std::vector<double> m_estimates;
    Observed m_observed;
    zav::OptimizerSettings m_optimizer;
    BootstrapReplicate m_replicates;
    PelkLikelihoodFunc m_prototype;
};

} // namespace pelk
