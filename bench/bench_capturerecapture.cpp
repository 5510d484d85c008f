// Speed of the objective, its gradient and a whole estimation on
// closed-population capture-recapture models with t = 5 and t = 10
// occasions (31 and 1023 observed histories), against the same negative
// log-likelihood written by hand in plain C++ as the floor; and the stages
// of a `pelk-cli estimate` of the 10-occasion workspace (parameters and
// covariance, no profile), then the whole process; and the parametric
// bootstrap of the 10-occasion fit in replicates per second.
#include "../tests/support/CaptureRecaptureWorkspace.h"
#include "../tests/support/TempFiles.h"

#include "estimation/EstimationResults.h"
#include "estimation/EstimationSequence.h"
#include "estimation/EstimationSummary.h"
#include "estimation/ProfiledQuantity.h"
#include "estimation/ProfileLimitSearch.h"
#include "estimation/ParametricBootstrap.h"
#include "io/SummaryJsonWriter.h"
#include "model/Workspace.h"
#include "likelihood/PelkLikelihoodFunc.h"
#include "model/MessageSink.h"
#include "model/ModelValidator.h"
#include "io/PelkFileReader.h"
#include "../src/app/cli/ExitStatus.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The profile benchmarks use a sparse study of 2000 animals, a fifth of
// them never caught, so that N's interval is bounded by the data on both
// sides (in the default study nearly every animal is caught, and N's lower
// limit is the number caught).
QString sparseStudy(int occasions, const QString &requests)
{
    return support::captureRecaptureWorkspace(occasions, QStringLiteral("powell"), requests, 2000.0, true);
}

std::unique_ptr<pelk::Workspace> workspaceFor(int occasions, const QString &requests = QStringLiteral(";"),
                                              bool sparse = false)
{
    support::TempFiles files;
    const QString path = files.write(QStringLiteral("captures.txt"),
                                     sparse ? sparseStudy(occasions, requests)
                                            : support::captureRecaptureWorkspace(occasions, QStringLiteral("powell"),
                                                                                 requests));
    auto workspace = std::make_unique<pelk::Workspace>();
    pelk::PelkFileReader().readWorkspace(path, *workspace);
    return workspace;
}

// A point near the estimates; each call moves one coordinate a little, as
// an optimizer's line search does.
std::vector<double> startPoint(int occasions)
{
    std::vector<double> x{520.0};
    for (int j = 0; j < occasions; ++j)
        x.push_back(std::log(support::captureProbability(j) / (1 - support::captureProbability(j))));
    return x;
}

std::unique_ptr<pelk::Workspace> validWorkspace(benchmark::State &state, int occasions,
                                                const QString &requests = QStringLiteral(";"))
{
    auto workspace = workspaceFor(occasions, requests);
    pelk::PlainTextSink sink;
    if (!pelk::validate(workspace->model, sink))
        state.SkipWithError("invalid model");
    return workspace;
}

void objective(benchmark::State &state)
{
    const int occasions = int(state.range(0));
    auto workspace = validWorkspace(state, occasions);
    pelk::PelkLikelihoodFunc function(workspace->model, workspace->categoryCounts);
    std::vector<double> x = startPoint(occasions);
    std::size_t i = 0;
    for (auto _ : state) {
        x[1 + i++ % std::size_t(occasions)] += 1e-9;
        benchmark::DoNotOptimize(function(x));
    }
    state.SetLabel(QStringLiteral("%1 histories, %2 instructions")
                       .arg((1 << occasions) - 1)
                       .arg(function.program().instructionCount())
                       .toStdString());
}

void objectiveAndGradient(benchmark::State &state)
{
    const int occasions = int(state.range(0));
    auto workspace = validWorkspace(state, occasions);
    pelk::PelkLikelihoodFunc function(workspace->model, workspace->categoryCounts);
    std::vector<double> x = startPoint(occasions);
    std::vector<double> gradient;
    std::size_t i = 0;
    for (auto _ : state) {
        x[1 + i++ % std::size_t(occasions)] += 1e-9;
        benchmark::DoNotOptimize(function.valueAndGradient(x, gradient));
    }
}

// The objective on the formula trees, as every run evaluated it before the
// compiled program: the speed the program is measured against.
void treeObjective(benchmark::State &state)
{
    const int occasions = int(state.range(0));
    auto workspace = validWorkspace(state, occasions);
    const pelk::PelkLikelihoodFunc function(workspace->model, workspace->categoryCounts);
    const pelk::LikelihoodTerms &terms = function.terms();
    std::vector<double> x = startPoint(occasions);
    workspace->model.pointParametersAt(&x);
    std::size_t i = 0;
    for (auto _ : state) {
        x[1 + i++ % std::size_t(occasions)] += 1e-9;
        benchmark::DoNotOptimize(
            terms.negativeLogLikelihood([&](int k) { return terms.formulas()[std::size_t(k)]->evaluate(); }));
    }
}

// The same objective by hand: log N!/(u! prod n_h!) + sum n_h log p_h + u log p_0.
class HandWritten
{
public:
    explicit HandWritten(int occasions) : m_occasions(occasions)
    {
        for (int history = 1; history < (1 << occasions); ++history) {
            double probability = 1.0;
            for (int j = 0; j < occasions; ++j)
                probability *= (history >> j) & 1 ? support::captureProbability(j) : 1 - support::captureProbability(j);
            const double count = double(std::lround(500.0 * probability));
            m_counts.push_back(count);
            m_total += count;
            m_logFactorials += std::lgamma(count + 1);
        }
        m_p.resize(std::size_t(occasions));
    }

    double operator()(const std::vector<double> &x)
    {
        const double n = x[0];
        const double unobserved = n - m_total;
        if (unobserved < 0)
            return std::numeric_limits<double>::max();
        for (int j = 0; j < m_occasions; ++j) {
            const double e = std::exp(x[std::size_t(j + 1)]);
            m_p[std::size_t(j)] = e / (1 + e);
        }
        double ll = -m_logFactorials - std::lgamma(unobserved + 1) + std::lgamma(n + 1);
        for (std::size_t h = 0; h < m_counts.size(); ++h) {
            if (m_counts[h] <= 0)
                continue;
            double probability = 1.0;
            for (int j = 0; j < m_occasions; ++j)
                probability *= ((h + 1) >> j) & 1 ? m_p[std::size_t(j)] : 1 - m_p[std::size_t(j)];
            ll += m_counts[h] * std::log(probability);
        }
        double p0 = 1.0;
        for (double p : m_p)
            p0 *= 1 - p;
        ll += unobserved * std::log(p0);
        return -ll;
    }

private:
    int m_occasions;
    std::vector<double> m_counts;
    std::vector<double> m_p;
    double m_total = 0.0;
    double m_logFactorials = 0.0;
};

void handWrittenObjective(benchmark::State &state)
{
    const int occasions = int(state.range(0));
    HandWritten function(occasions);
    std::vector<double> x = startPoint(occasions);
    std::size_t i = 0;
    for (auto _ : state) {
        x[1 + i++ % std::size_t(occasions)] += 1e-9;
        benchmark::DoNotOptimize(function(x));
    }
}

// The stages of `pelk-cli estimate` on the 10-occasion workspace: read and
// validate, compile the objective, and (below) fit with covariance, then
// the summary and its JSON.
void readAndValidate(benchmark::State &state)
{
    support::TempFiles files;
    const QString path = files.write(QStringLiteral("captures.txt"), support::captureRecaptureWorkspace(10));
    for (auto _ : state) {
        pelk::Workspace workspace;
        pelk::PelkFileReader().readWorkspace(path, workspace);
        pelk::PlainTextSink sink;
        benchmark::DoNotOptimize(pelk::validate(workspace.model, sink));
    }
}

void compileObjective(benchmark::State &state)
{
    auto workspace = validWorkspace(state, 10);
    for (auto _ : state) {
        const pelk::PelkLikelihoodFunc function(workspace->model, workspace->categoryCounts);
        benchmark::DoNotOptimize(function.program().instructionCount());
    }
}

void summaryAndJson(benchmark::State &state)
{
    auto workspace = validWorkspace(state, 10);
    pelk::EstimationResults results;
    results.estimates = startPoint(10);
    results.covariance = zav::Matrix::identity(11);
    results.covarianceAvailable = results.parametersEstimated = true;
    for (auto _ : state) {
        const auto summary = pelk::EstimationSummary::compute(*workspace, results);
        benchmark::DoNotOptimize(
            QJsonDocument(pelk::SummaryJsonWriter::write({}, &summary)).toJson().size());
    }
}

// Runs the estimation sequence on the workspace exactly as the Estimate
// page does; false when it did not give estimates and a covariance.
bool estimate(pelk::Workspace &workspace, pelk::EstimationResults &results)
{
    pelk::EstimationSequence sequence;
    pelk::PlainTextSink sink;
    workspace.calculateCovariance = true;
    if (sequence.check(workspace, sink) != pelk::EstimationSequence::Readiness::Ready)
        return false;
    QEventLoop loop;
    QObject::connect(&sequence, &pelk::EstimationSequence::finished, &loop, &QEventLoop::quit);
    sequence.start(workspace, results);
    loop.exec();
    return results.parametersEstimated && results.covarianceAvailable;
}

// Parameters and covariance (range(1) = 0) or, on the sparse study, also
// the 0.05 profile interval of N (range(1) = 1), through the estimation
// sequence.
void fullEstimation(benchmark::State &state)
{
    const int occasions = int(state.range(0));
    const bool profile = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto workspace = workspaceFor(occasions, profile ? QStringLiteral("\nN = 0.05;") : QStringLiteral(";"), profile);
        pelk::EstimationResults results;
        state.ResumeTiming();
        if (!estimate(*workspace, results))
            state.SkipWithError("estimation failed");
    }
}

// Replicates of the parametric bootstrap of the 10-occasion fit, each
// drawn and refitted with Powell's method, on range(0) threads (0: one
// per core). The counter "replicates" is per second of real time;
// "failed" counts the replicates of the last iteration that did not refit.
void bootstrapReplicates(benchmark::State &state)
{
    constexpr int replicates = 16;
    auto workspace = workspaceFor(10);
    pelk::EstimationResults results;
    if (!estimate(*workspace, results)) {
        state.SkipWithError("estimation failed");
        return;
    }
    const auto summary = pelk::EstimationSummary::compute(*workspace, results);
    const pelk::ParametricBootstrap bootstrap(*workspace, results.estimates,
                                              pelk::ParametricBootstrap::observedFrom(summary));
    std::uint64_t seed = 1;
    int failed = 0;
    for (auto _ : state) {
        const auto result = bootstrap.run({seed++, replicates, 1, 1, int(state.range(0))});
        failed = result ? result->failed() : replicates;
    }
    state.counters["failed"] = failed;
    state.counters["replicates"]
        = benchmark::Counter(double(replicates) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// The two searches of N's 0.05 profile interval on the sparse study, as the
// profile run makes them, from estimates and a covariance computed first. The counters give
// their work: "evaluations" in evaluations of the objective (a value with
// its gradient counts 3) and the inner fits.
void profileInterval(benchmark::State &state)
{
    const int occasions = int(state.range(0));
    auto workspace = workspaceFor(occasions, QStringLiteral(";"), true);
    pelk::EstimationResults results;
    if (!estimate(*workspace, results)) {
        state.SkipWithError("estimation failed");
        return;
    }
    const pelk::PelkLikelihoodFunc objective(workspace->model, workspace->categoryCounts);
    const zav::Matrix &s = results.covariance;
    const pelk::ProfiledQuantity quantity(workspace->model, true, 0, results.estimates,
                                          pelk::PelkLikelihoodFunc(objective)(results.estimates), &s, nullptr);
    const zav::OptimizerSettings settings = workspace->optimizer;
    long evaluations = 0;
    int fits = 0;
    for (auto _ : state) {
        evaluations = 0;
        fits = 0;
        for (const auto side : {zav::ProfileLimitSearch::Lower, zav::ProfileLimitSearch::Upper}) {
            const auto fit = quantity.makeFit(objective, &s, settings);
            zav::ProfileLimitSearch search(*fit, results.estimates, quantity.quantity(), quantity.precision(),
                                           [](double, double) {});
            const auto result = search.find(side, zav::ProfileLimitSearch::targetChiSquared[1], nullptr);
            if (result.limit.status != pelk::ProfileLimitStatus::Found)
                state.SkipWithError("limit not found");
            evaluations += result.evaluationCost;
            fits += result.fits;
        }
    }
    state.counters["evaluations"] = double(evaluations);
    state.counters["fits"] = fits;
}

// Runs pelk-cli with `arguments`, its output discarded, and returns the
// wall time from spawn to exit in seconds, or a negative value when it
// failed. posix_spawn and waitpid rather than QProcess, whose pipes and
// event loop would add their own milliseconds to a 30 ms figure.
double timeCli(const QStringList &arguments, int expectedStatus)
{
    std::vector<QByteArray> storage{QByteArrayLiteral(PELK_CLI_PATH)};
    for (const QString &argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    int status = 0;
    const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    const bool waited = spawned && waitpid(pid, &status, 0) == pid;
    const double seconds = double(timer.nsecsElapsed()) * 1e-9;
    posix_spawn_file_actions_destroy(&actions);
    return waited && WIFEXITED(status) && WEXITSTATUS(status) == expectedStatus ? seconds : -1.0;
}

// The whole `pelk-cli estimate` process (text output) on the workspace of
// range(0) occasions: parameters and covariance, or with range(1) = 1 on
// the sparse study with N's 0.05 profile interval too. Start, read,
// validate, compile, fit, Hessian, profile searches, summary, output. Each
// repetition is one process; the median of the repetitions is the figure
// to read.
void cliProcess(benchmark::State &state)
{
    support::TempFiles files;
    const int occasions = int(state.range(0));
    const QString path = files.write(QStringLiteral("captures.txt"),
                                     state.range(1) ? sparseStudy(occasions, QStringLiteral("\nN = 0.05;"))
                                                    : support::captureRecaptureWorkspace(occasions));
    for (auto _ : state) {
        const double seconds = timeCli({QStringLiteral("estimate"), path}, 0);
        if (seconds < 0)
            state.SkipWithError("pelk-cli estimate failed");
        state.SetIterationTime(std::max(seconds, 0.0));
    }
}

// The floor of every pelk-cli process on this machine: start (loading Qt
// Core and ICU), the usage text, exit.
void cliProcessFloor(benchmark::State &state)
{
    for (auto _ : state) {
        const double seconds = timeCli({}, ExitUsage);
        if (seconds < 0)
            state.SkipWithError("pelk-cli without arguments did not print its usage");
        state.SetIterationTime(std::max(seconds, 0.0));
    }
}

} // namespace

BENCHMARK(objective)->Arg(5)->Arg(10)->Unit(benchmark::kNanosecond);
BENCHMARK(handWrittenObjective)->Arg(5)->Arg(10)->Unit(benchmark::kNanosecond);
BENCHMARK(objectiveAndGradient)->Arg(5)->Arg(10)->Unit(benchmark::kNanosecond);
BENCHMARK(treeObjective)->Arg(10)->Unit(benchmark::kNanosecond);
BENCHMARK(readAndValidate)->Unit(benchmark::kMillisecond);
BENCHMARK(compileObjective)->Unit(benchmark::kMillisecond);
BENCHMARK(summaryAndJson)->Unit(benchmark::kMillisecond);
BENCHMARK(fullEstimation)->Args({10, 0})->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(fullEstimation)->Args({5, 1})->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(fullEstimation)->Args({10, 1})->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(profileInterval)->Arg(10)->Arg(12)->Unit(benchmark::kMillisecond);
BENCHMARK(bootstrapReplicates)->Arg(1)->Arg(0)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(cliProcess)
    ->Args({10, 0})
    ->Args({10, 1})
    ->Args({12, 1})
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(cliProcessFloor)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
