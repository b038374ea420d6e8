#include "cli/TextBaselineCommand.h"
#include "cli/TerminalText.h"

#include "cli/ArgumentParser.h"
#include "cli/BaselineJson.h"
#include "cli/ExitStatus.h"

#include "core/text/TextSanitizer.h"
#include "core/text/base/Utf.h"
#include "core/text/input/WritingSamples.h"

#include <array>
#include <charconv>
#include <ostream>
#include <system_error>

namespace velquor::cli {

namespace {

std::string twoDecimals(double rate) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rate, std::chars_format::fixed, 2);
    return {buffer.data(), result.ptr};
}

void printBaseline(std::ostream& out, const text::WritingStyleBaseline& baseline) {
    out << "Personal baseline: " << counted(baseline.documentCount, "document", "documents") << ", "
        << counted(baseline.wordCount, "word", "words") << '\n';
    if (baseline.signalRates.empty()) {
        out << "No style signal fired in these documents.\n";
        return;
    }
    out << "Style signals per 100 words:\n";
    for (const auto& [label, rate] : baseline.signalRates)
        out << "  " << text::encodeUtf8(label) << ": " << twoDecimals(rate) << '\n';
}

int runTextBaseline(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(arguments, {.flags = {"--json"}, .valueOptions = {}, .maximumPositionals = 1});
    if (parsed.error) return reportUsageMistake(textBaselineCommand, *parsed.error, streams);
    if (parsed.positionals.empty()) {
        return reportUsageMistake(textBaselineCommand, "missing the folder of writing samples", streams);
    }

    std::vector<std::u16string> samples;
    try {
        samples = text::readWritingSamples(parsed.positionals.front());
    } catch (const std::system_error& failure) {
        streams.err << "velquor-cli: " << failure.what() << '\n';
        return badInputOrUsage;
    }
    const auto baseline = text::TextSanitizer().writingStyleBaseline(samples);
    if (baseline.documentCount == 0) {
        streams.err << "No readable .txt or Markdown files found.\n";
        return badInputOrUsage;
    }
    if (parsed.has("--json")) {
        writeBaselineJson(streams.out, baseline);
    } else {
        printBaseline(streams.out, baseline);
    }
    return nothingToReport;
}

constexpr CommandOption options[] = {
    {"--json",
     "Print {\"documentCount\", \"wordCount\", \"signalRates\"} as one JSON object, the form text prompt reads."},
};

constexpr CommandExample examples[] = {
    {"velquor-cli text baseline ~/Documents/essays --json > baseline.json",
     "Save a baseline of your essays for later prompts."},
};

}  // namespace

const Command textBaselineCommand{
    .group = "text",
    .name = "baseline",
    .usage = "DIR [--json]",
    .summary = "Build a personal writing baseline from your own .txt and Markdown files.",
    .description =
        "Build a personal writing baseline from your own earlier writing: how often each style signal fires per 100 "
        "words in the .txt, .md and .markdown files of DIR and its subfolders (at most 200 files of at most 2,000,000 "
        "bytes, UTF-8 only; hidden files, empty files and symbolic links are skipped). Nothing is stored; save the "
        "--json output and pass it to 'velquor-cli text prompt --baseline FILE'.",
    .options = options,
    .examples = examples,
    .exitStatus = "Exit status: 0 the baseline was built; 2 no readable files, bad input or usage.",
    .run = runTextBaseline,
};

}  // namespace velquor::cli
