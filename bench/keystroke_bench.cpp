// What the application runs after each pause in typing, analyzeText with the default options:
// validate the text, inspect it, clean it, review every category of change, and clean the output
// again to verify it. Mixed prose with emoji, right-to-left text, Markdown and tracked URLs, and
// about one hidden or changed character per 200, at 100 KiB and 16 MiB; each stage is also timed
// on its own. peakRSS_MiB is the process's high-water mark so far, so run one size at a time
// (--benchmark_filter=/16777216) to read it for that size.
#include "bench/MixedProse.h"
#include "core/text/TextSanitizer.h"
#include "core/workflow/TextAnalysis.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

using velquor::bench::mixedProse;
using velquor::text::TextSanitizer;
using velquor::workflow::analyzeText;
using velquor::workflow::applicationCleaningDefaults;

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void finish(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    state.counters["peakRSS_MiB"] = peakResidentMiB();
}

void keystrokePath(benchmark::State& state) {
    const auto text = mixedProse(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto analysis = analyzeText(text, applicationCleaningDefaults);
        benchmark::DoNotOptimize(analysis);
        if (!analysis.cleanedOutputVerified) state.SkipWithError("the second cleaning pass changed the text");
    }
    finish(state);
}

void inspectStage(benchmark::State& state) {
    const auto text = mixedProse(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(TextSanitizer().inspect(text));
    finish(state);
}

void cleanStage(benchmark::State& state) {
    const auto text = mixedProse(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(TextSanitizer().cleanPlainTextResult(text, applicationCleaningDefaults));
    finish(state);
}

void reviewStage(benchmark::State& state) {
    const auto text = mixedProse(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(TextSanitizer().reviewChanges(text));
    finish(state);
}

void verifyStage(benchmark::State& state) {
    const auto text = mixedProse(static_cast<std::size_t>(state.range(0)));
    const auto cleaned = TextSanitizer().cleanPlainText(text, applicationCleaningDefaults);
    for (auto _ : state) benchmark::DoNotOptimize(TextSanitizer().cleanPlainText(cleaned, applicationCleaningDefaults));
    finish(state);
}

}  // namespace

BENCHMARK(keystrokePath)->Arg(100 << 10)->Arg(16 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(inspectStage)->Arg(100 << 10)->Arg(16 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(cleanStage)->Arg(100 << 10)->Arg(16 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(reviewStage)->Arg(100 << 10)->Arg(16 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(verifyStage)->Arg(100 << 10)->Arg(16 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();
