// The style pass over English prose at 100 KiB (the keystroke path's size) and 1 MiB, and over
// the shapes that make regular expressions backtrack: one long line without spaces, and a long
// run of blank lines.
#include "core/text/TextSanitizer.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using velquor::text::TextSanitizer;

const std::u16string_view paragraphs[] = {
    u"The committee met on Tuesday to review the quarterly figures. Most members agreed that the numbers "
    u"looked healthier than last year, although the travel budget had grown faster than anyone expected.\n\n",
    u"In today's fast-paced world, it's important to note that teams must leverage robust tools to unlock "
    u"their full potential. Additionally, studies suggest that a seamless workflow fosters a growth mindset.\n\n",
    u"## Key takeaways\n\n- **Focus:** pick one goal per quarter.\n- **Cadence:** review it every Friday.\n\n",
    u"Maria walked to the harbour \u2014 the fog had lifted by then \u2014 and counted forty-two boats, "
    u"some of them older than the town\u2019s oldest house. It can often seem that we may never finish.\n\n",
    u"While the plan is ambitious, it's also realistic. It's not just a tool \u2014 it's a mindset. "
    u"The result was fast, robust, and reliable, and it scaled to 3,000 users in 2023.\n\n",
    u"Caf\u00E9 owners in Z\u00FCrich told \u00C9lodie that prices rose 12% \U0001F600 while rents stayed flat. "
    u"See [the report](https://example.com/report) for details. I hope this helps!\n\n",
};

std::u16string prose(std::size_t bytes) {
    std::u16string text;
    for (std::size_t i = 0; text.size() < bytes; ++i) text += paragraphs[i % std::size(paragraphs)];
    return text;
}

void runStylePass(benchmark::State& state, const std::u16string& text) {
    const TextSanitizer sanitizer;
    for (auto _ : state) {
        std::vector<std::u16string> timedOut;
        auto report = sanitizer.styleReport(text, timedOut);
        benchmark::DoNotOptimize(report);
        if (!timedOut.empty()) state.SkipWithError("a scan ran out of its budget");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void stylePassOnProse(benchmark::State& state) { runStylePass(state, prose(static_cast<std::size_t>(state.range(0)))); }

void stylePassOnLineWithoutSpaces(benchmark::State& state) {
    std::u16string text;
    while (text.size() < static_cast<std::size_t>(state.range(0))) text += u"aGVsbG8gd29ybGQ/*[|";
    runStylePass(state, text);
}

void stylePassOnBlankLines(benchmark::State& state) {
    runStylePass(state, std::u16string(static_cast<std::size_t>(state.range(0)), u'\n'));
}

}  // namespace

// Sizes in characters of mostly ASCII prose, so about the same in bytes.
BENCHMARK(stylePassOnProse)->Arg(100 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(stylePassOnLineWithoutSpaces)->Arg(1 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(stylePassOnBlankLines)->Arg(80 << 10)->Unit(benchmark::kMillisecond)->UseRealTime();
