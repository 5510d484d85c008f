// Reading and writing a workspace with many parameters (seeds and profile
// requests for each): the time per parameter should not grow with their
// number. Google Benchmark fits the complexity over the sizes.
#include "../tests/support/ManyParametersWorkspace.h"
#include "../tests/support/TempFiles.h"

#include "io/FileWriter.h"
#include "io/PelkFileReader.h"
#include "model/Workspace.h"

#include <benchmark/benchmark.h>

#include <QTextStream>

namespace {

void readWorkspace(benchmark::State &state)
{
    const int n = int(state.range(0));
    support::TempFiles files;
    const QString path = files.write(QStringLiteral("large.txt"), support::manyParametersWorkspace(n));
    for (auto _ : state) {
        pelk::Workspace workspace;
        pelk::PelkFileReader().readWorkspace(path, workspace);
        benchmark::DoNotOptimize(workspace.seeds.data());
    }
    state.SetComplexityN(n);
}

void writeWorkspace(benchmark::State &state)
{
    const int n = int(state.range(0));
    support::TempFiles files;
    pelk::Workspace workspace;
    pelk::PelkFileReader().readWorkspace(files.write(QStringLiteral("large.txt"), support::manyParametersWorkspace(n)),
                                         workspace);
    for (auto _ : state) {
        QString text;
        QTextStream stream(&text);
        pelk::FileWriter writer(&stream);
        writer.writeWorkspace(workspace);
        stream.flush();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetComplexityN(n);
}

} // namespace

BENCHMARK(readWorkspace)->RangeMultiplier(4)->Range(2500, 40000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(writeWorkspace)->RangeMultiplier(4)->Range(2500, 40000)->Complexity()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
