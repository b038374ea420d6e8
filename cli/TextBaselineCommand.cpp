#include "TextBaselineCommand.h"

#include "ArgumentParser.h"
#include "BaselineJson.h"
#include "ExitStatus.h"

#include <text/TextSanitizer.h>
#include <text/Utf.h>
#include <text/WritingSamples.h>

#include <array>
#include <charconv>
#include <ostream>
#include <system_error>

namespace velquor::cli {

namespace {

constexpr std::string_view usage = "Usage: velquor-cli text baseline DIR [--json]\n";

constexpr std::string_view help =
    "Build a personal writing baseline from your own earlier writing: how often each style\n"
    "signal fires per 100 words in the .txt, .md and .markdown files of DIR and its subfolders\n"
    "(at most 200 files of at most 2,000,000 bytes, UTF-8 only; hidden files, empty files and\n"
    "symbolic links are skipped). Nothing is stored; save the --json output and pass it to\n"
    "'velquor-cli text prompt --baseline FILE'.\n\n"
    "  --json   print {\"documentCount\", \"wordCount\", \"signalRates\"} as one JSON object\n\n"
    "Exit status: 0 the baseline was built; 2 no readable files, bad input or usage.\n";

std::string twoDecimals(double rate) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rate, std::chars_format::fixed, 2);
    return {buffer.data(), result.ptr};
}

void printBaseline(std::ostream& out, const text::WritingStyleBaseline& baseline) {
    out << "Personal baseline: " << baseline.documentCount << (baseline.documentCount == 1 ? " document, " : " documents, ")
        << baseline.wordCount << (baseline.wordCount == 1 ? " word\n" : " words\n");
    if (baseline.signalRates.empty()) {
        out << "No style signal fired in these documents.\n";
        return;
    }
    out << "Style signals per 100 words:\n";
    for (const auto& [label, rate] : baseline.signalRates) out << "  " << text::encodeUtf8(label) << ": " << twoDecimals(rate) << '\n';
}

}  // namespace

int runTextBaseline(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(arguments, {.flags = {"--json"}, .valueOptions = {}, .maximumPositionals = 1});
    if (parsed.error) {
        streams.err << "velquor-cli: " << *parsed.error << '\n' << usage;
        return badInputOrUsage;
    }
    if (parsed.helpRequested) {
        streams.out << usage << '\n' << help;
        return nothingToReport;
    }
    if (parsed.positionals.empty()) {
        streams.err << "velquor-cli: missing the folder of writing samples\n" << usage;
        return badInputOrUsage;
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

}  // namespace velquor::cli
