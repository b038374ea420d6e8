// A batch of 200 mixed files (bench/MixedBatch.h). The whole batch (collecting the folder and
// inspecting every file) with one and with two workers, next to `exiftool -j` over the same
// files, which reads the same kinds of metadata.
#include "bench/MixedBatch.h"
#include "core/workflow/BatchCollector.h"
#include "core/workflow/BatchRunner.h"
#include "tests/support/ExternalTools.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using velquor::bench::mixedBatch;
using velquor::testing::runTool;

void velquorBatch(benchmark::State& state) {
    const auto& batch = mixedBatch();
    const std::vector<fs::path> selection{batch.folder()};
    const auto workers = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        const auto files = velquor::workflow::inspectableBatchFiles(selection, velquor::workflow::batchFileLimit);
        const auto rows = velquor::workflow::inspectBatch(files, {.workers = workers, .stop = {}, .progress = {}});
        if (rows.size() != 200) state.SkipWithError("the batch lost rows");
        benchmark::DoNotOptimize(rows);
    }
    state.counters["files"] = 200;
}

void exiftoolJson(benchmark::State& state) {
    const auto& batch = mixedBatch();
    std::vector<std::string> arguments{"-j", "-q"};
    for (const auto& file : batch.files()) arguments.push_back(file.string());
    for (auto _ : state) benchmark::DoNotOptimize(runTool("/usr/bin/exiftool", arguments));
    state.counters["files"] = 200;
}

}  // namespace

BENCHMARK(velquorBatch)
    ->ArgName("workers")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(exiftoolJson)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
