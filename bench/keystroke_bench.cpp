// What the application runs after each pause in typing, analyzeText with the default options:
// validate the text, inspect it, clean it, review every category of change, and clean the output
// again to verify it. Mixed prose with emoji, right-to-left text, Markdown and tracked URLs, and
// about one hidden or changed character per 200, at 100 KiB and 16 MiB; each stage is also timed
// on its own. peakRSS_MiB is the process's high-water mark so far, so run one size at a time
// (--benchmark_filter=/16777216) to read it for that size.
#include "core/text/TextSanitizer.h"
#include "core/workflow/TextAnalysis.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <random>
#include <string>

namespace {

using velquor::text::TextSanitizer;
using velquor::workflow::analyzeText;
using velquor::workflow::applicationCleaningDefaults;

const std::u16string_view words[] = {
    u"the",
    u"committee",
    u"met",
    u"on",
    u"Tuesday",
    u"to",
    u"review",
    u"quarterly",
    u"figures",
    u"and",
    u"most",
    u"members",
    u"agreed",
    u"numbers",
    u"looked",
    u"healthier",
    u"than",
    u"last",
    u"year",
    u"caf\u00E9",
    u"na\u00EFve",
    u"\u00C6r\u00F8",
    u"plan",
    u"budget",
    u"report",
    u"draft",
    u"team",
    u"notes",
    u"later",
    u"\u05E9\u05DC\u05D5\u05DD",
    u"\u0633\u0644\u0627\u0645",
    u"\U0001F600",
    u"\U0001F44D\U0001F3FD",
    u"\U0001F468\u200D\U0001F469",
};

// One of these lands in about every 200 characters: hidden, unusual or changeable text.
const std::u16string_view disturbances[] = {
    u"\u200B",
    u"\u00A0",
    u"  ",
    u"\u201Cquoted\u201D",
    u" \u2014 ",
    u"\u2026",
    u"\uFEFF",
    u"\u202E",
    u" https://example.com/a?utm_source=news&id=7 ",
    u" **bold** ",
    u" [link](https://example.com/x) ",
};

std::u16string mixedProse(std::size_t bytes) {
    std::mt19937 random(1);
    std::uniform_int_distribution<std::size_t> word(0, std::size(words) - 1);
    std::uniform_int_distribution<std::size_t> disturbance(0, std::size(disturbances) - 1);
    std::uniform_int_distribution<int> sentenceLength(8, 16);
    std::u16string text;
    std::size_t sinceDisturbance = 0;
    for (int sentence = 0; text.size() * 2 < bytes; ++sentence) {
        if (sentence % 6 == 0) text += sentence % 12 == 0 ? u"## Section\n\n" : u"\n\n";
        for (int n = sentenceLength(random); n > 0; --n) {
            text += words[word(random)];
            text += u' ';
        }
        text.back() = u'.';
        text += sentence % 3 == 2 ? u'\n' : u' ';
        if ((sinceDisturbance += 100) >= 200) {
            text += disturbances[disturbance(random)];
            sinceDisturbance = 0;
        }
    }
    return text;
}

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
