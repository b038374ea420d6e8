#include "cli/TextCompareCommand.h"

#include "cli/ArgumentParser.h"
#include "cli/ExitStatus.h"
#include "cli/RewriteComparisonOutput.h"
#include "cli/TextInput.h"

#include "core/text/TextSanitizer.h"

#include <ostream>

namespace velquor::cli {

namespace {

int runTextCompare(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(arguments, {.flags = {"--json"}, .valueOptions = {}, .maximumPositionals = 2});
    if (parsed.error) return reportUsageMistake(textCompareCommand, *parsed.error, streams);
    if (parsed.positionals.size() != 2) {
        return reportUsageMistake(textCompareCommand, "give both the original and the rewrite", streams);
    }
    if (parsed.positionals[0] == "-" && parsed.positionals[1] == "-") {
        return reportUsageMistake(textCompareCommand, "only one of ORIGINAL and REWRITE can be standard input",
                                  streams);
    }

    const auto original = readTextInputOrExplain(parsed.positionals[0], streams, InputNaming::namedInput);
    if (!original) return badInputOrUsage;
    const auto rewritten = readTextInputOrExplain(parsed.positionals[1], streams, InputNaming::namedInput);
    if (!rewritten) return badInputOrUsage;

    const auto report = text::TextSanitizer().compareRewrite(*original, *rewritten);
    if (parsed.has("--json")) {
        writeRewriteComparisonJson(streams.out, report);
    } else {
        printRewriteComparison(streams.out, report);
    }
    return report.hasConcerns() ? needsAttention : nothingToReport;
}

constexpr CommandOption options[] = {
    {"--json", "Print the comparison as one JSON object."},
};

constexpr CommandExample examples[] = {
    {"velquor-cli text compare draft.txt rewrite.txt", "List the facts the rewrite lost or added, with warnings."},
};

}  // namespace

const Command textCompareCommand{
    .group = "text",
    .name = "compare",
    .usage = "ORIGINAL REWRITE [--json]",
    .summary = "Check a rewrite for lost or invented facts and other concerns.",
    .description =
        "Check a rewrite against the text it came from before you accept it: names, dates, numbers, links, quotations "
        "and citations that were lost or added; much longer or shorter text, fewer paragraphs, changed negation; what "
        "the rewrite itself carries (hidden Unicode, secrets, style signals) and what a hygiene cleaning would still "
        "remove; a word-level diff. These checks point at concrete differences; they do not prove that the meaning is "
        "kept.\n\nEither file may be '-' for standard input: at most 64 MiB of UTF-8 text each.",
    .options = options,
    .examples = examples,
    .exitStatus =
        "Exit status: 0 nothing needs attention; 1 anchors changed, a warning, the rewrite has Unicode issues (any "
        "character outside ASCII counts) or privacy findings, or a scan could not finish; 2 bad input or usage.",
    .run = runTextCompare,
};

}  // namespace velquor::cli
