#include "TextCompareCommand.h"

#include "ArgumentParser.h"
#include "ExitStatus.h"
#include "RewriteComparisonOutput.h"
#include "TextInput.h"

#include <text/TextInputError.h>
#include <text/TextSanitizer.h>

#include <ostream>
#include <system_error>

namespace velquor::cli {

namespace {

constexpr std::string_view usage = "Usage: velquor-cli text compare ORIGINAL REWRITE [--json]\n";

constexpr std::string_view help =
    "Check a rewrite against the text it came from before you accept it: names, dates, numbers,\n"
    "links, quotations and citations that were lost or added; much longer or shorter text, fewer\n"
    "paragraphs, changed negation; what the rewrite itself carries (hidden Unicode, secrets,\n"
    "style signals) and what a hygiene cleaning would still remove; a word-level diff.\n"
    "These checks point at concrete differences; they do not prove that the meaning is kept.\n"
    "Either file may be '-' for standard input (at most 64 MiB of UTF-8 text each).\n\n"
    "  --json   print the comparison as one JSON object\n\n"
    "Exit status: 0 nothing needs attention; 1 anchors changed, a warning, the rewrite has\n"
    "Unicode issues (any character outside ASCII counts) or privacy findings, or a scan could\n"
    "not finish; 2 bad input or usage.\n";

}  // namespace

int runTextCompare(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(arguments, {.flags = {"--json"}, .valueOptions = {}, .maximumPositionals = 2});
    if (parsed.error) {
        streams.err << "velquor-cli: " << *parsed.error << '\n' << usage;
        return badInputOrUsage;
    }
    if (parsed.helpRequested) {
        streams.out << usage << '\n' << help;
        return nothingToReport;
    }
    if (parsed.positionals.size() != 2) {
        streams.err << "velquor-cli: give both the original and the rewrite\n" << usage;
        return badInputOrUsage;
    }
    if (parsed.positionals[0] == "-" && parsed.positionals[1] == "-") {
        streams.err << "velquor-cli: only one of ORIGINAL and REWRITE can be standard input\n" << usage;
        return badInputOrUsage;
    }

    std::u16string original;
    std::u16string rewritten;
    std::string_view reading = parsed.positionals[0];
    try {
        original = readTextInput(parsed.positionals[0], streams);
        reading = parsed.positionals[1];
        rewritten = readTextInput(parsed.positionals[1], streams);
    } catch (const text::TextInputError& failure) {
        streams.err << "velquor-cli: " << (reading == "-" ? "standard input" : reading) << ": " << failure.what() << '\n';
        return badInputOrUsage;
    } catch (const std::system_error& failure) {
        streams.err << "velquor-cli: " << failure.what() << '\n';
        return badInputOrUsage;
    }

    const auto report = text::TextSanitizer().compareRewrite(original, rewritten);
    if (parsed.has("--json")) {
        writeRewriteComparisonJson(streams.out, report);
    } else {
        printRewriteComparison(streams.out, report);
    }
    return report.hasConcerns() ? needsAttention : nothingToReport;
}

}  // namespace velquor::cli
