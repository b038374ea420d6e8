// The shapes of text that cost the most near the input limit, at 8 MiB of UTF-16 each: many tiny
// sentences, a match every few bytes, one long line, a hidden scalar every few characters. Each
// runs what `text inspect`, `text clean` and `text prompt` run on it, and a writing baseline
// runs over a folder's worth of prose samples.
#include "core/text/TextSanitizer.h"
#include "core/workflow/TextAnalysis.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using velquor::text::TextSanitizer;

constexpr std::size_t shapeUnits = 4 << 20;

std::u16string repeated(std::u16string_view unit, std::size_t units) {
    std::u16string text;
    text.reserve(units + unit.size());
    while (text.size() < units) text += unit;
    text.resize(units);
    return text;
}

std::u16string addresses(std::size_t units) {
    std::u16string text;
    text.reserve(units + 16);
    for (std::size_t i = 0; text.size() < units; ++i) {
        const auto octet = [&](std::size_t shift) { return std::to_string((i >> shift) & 0xFF); };
        const auto address = "10." + octet(16) + "." + octet(8) + "." + octet(0) + " ";
        text.append(address.begin(), address.end());
    }
    text.resize(units);
    return text;
}

// Indexed by the benchmark's argument.
std::u16string shape(std::int64_t which) {
    switch (which) {
        case 0:
            return repeated(u"a.", shapeUnits);
        case 1:
            return repeated(u"Hi. Yes! No? Ok. ", shapeUnits);
        case 2:
            return addresses(shapeUnits);
        case 3:
            return repeated(u"a@b.io https://x.io/?utm_source=q ", shapeUnits);
        case 4:
            return repeated(u"x", shapeUnits);
        default:
            return repeated(u"ab\u200B", shapeUnits);
    }
}

constexpr const char* shapeNames[] = {"a.", "tiny sentences", "addresses", "emails and URLs", "one line", "zero-width"};

void nameShape(benchmark::State& state) { state.SetLabel(shapeNames[state.range(0)]); }

void inspectShape(benchmark::State& state) {
    const auto text = shape(state.range(0));
    const TextSanitizer sanitizer;
    for (auto _ : state) benchmark::DoNotOptimize(sanitizer.inspect(text));
    nameShape(state);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size() * 2));
}

void cleanShape(benchmark::State& state) {
    const auto text = shape(state.range(0));
    const TextSanitizer sanitizer;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sanitizer.cleanPlainTextResult(text, velquor::workflow::applicationCleaningDefaults));
    }
    nameShape(state);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size() * 2));
}

void promptShape(benchmark::State& state) {
    const auto text = shape(state.range(0));
    const TextSanitizer sanitizer;
    for (auto _ : state) benchmark::DoNotOptimize(sanitizer.authorshipRewritePrompt(text, std::nullopt));
    nameShape(state);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size() * 2));
}

// 40 samples of 1 MB of prose, a fifth of the largest folder a baseline reads.
void baselineOfSamples(benchmark::State& state) {
    const std::u16string sentence =
        u"The committee met on Tuesday to review the figures, and most members agreed they looked better. "
        u"Some may suggest it can often help! ";
    const std::vector<std::u16string> samples(40, repeated(sentence, 500'000));
    const TextSanitizer sanitizer;
    for (auto _ : state) benchmark::DoNotOptimize(sanitizer.writingStyleBaseline(samples));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * samples.size() * 1'000'000));
}

}  // namespace

BENCHMARK(inspectShape)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(cleanShape)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(promptShape)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(baselineOfSamples)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
