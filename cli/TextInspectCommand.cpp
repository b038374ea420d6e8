#include "cli/TextInspectCommand.h"

#include "cli/ArgumentParser.h"
#include "cli/ExitStatus.h"
#include "cli/TextAttention.h"
#include "cli/TextInput.h"
#include "cli/TextReportJson.h"
#include "cli/TextReportPrinter.h"

#include "core/text/TextSanitizer.h"

#include <ostream>

namespace velquor::cli {

namespace {

int runTextInspect(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(arguments, {.flags = {"--json"}, .valueOptions = {}, .maximumPositionals = 1});
    if (parsed.error) return reportUsageMistake(textInspectCommand, *parsed.error, streams);

    const auto read = readTextInputOrExplain(firstPositional(parsed.positionals), streams);
    if (!read) return badInputOrUsage;
    const std::u16string& input = *read;

    const auto report = text::TextSanitizer().inspect(input);
    if (parsed.has("--json")) {
        writeTextReportJson(streams.out, report);
    } else {
        printTextReport(streams.out, report);
    }
    return reportNeedsAttention(report) ? needsAttention : nothingToReport;
}

constexpr CommandOption options[] = {
    {"--json", "Print the report as one JSON object with the records' field names."},
};

constexpr CommandExample examples[] = {
    {"velquor-cli text inspect notes.txt", "Inspect a text file."},
    {"git diff --cached | velquor-cli text inspect",
     "Check what is about to be committed: the exit status is 1 when something needs attention."},
    {"velquor-cli text inspect draft.md --json | jq .privacyReport.findings",
     "Only the privacy findings, for a script."},
};

}  // namespace

const Command textInspectCommand{
    .group = "text",
    .name = "inspect",
    .usage = "[FILE|-] [--json]",
    .summary = "Report hidden Unicode, hidden messages, style signals, privacy findings and counts for a text.",
    .description =
        "Inspect a text for what it carries beyond its visible words: hidden and control Unicode (zero-width and "
        "bidirectional controls, private-use scalars, unusual spaces, anything outside ASCII) and where each "
        "occurs; messages hidden in tag characters or variation selectors; templated-writing style signals with "
        "a 0-100 score, as advice and never as proof of authorship; and privacy findings (AWS access keys, API "
        "keys, JSON web tokens, private key blocks, .env assignments, private IP addresses, internal host names, "
        "tracked URLs). Hidden characters are shown as <U+200B> and secrets are masked.\n\n"
        "Reads FILE, or standard input when FILE is '-' or missing: at most 64 MiB of UTF-8 text.",
    .options = options,
    .examples = examples,
    .exitStatus =
        "Exit status: 0 nothing needs attention (accented letters, emoji, style signals and Info findings never "
        "fail a check); 1 a Unicode issue other than a non-ASCII letter, a hidden message, a privacy finding of "
        "severity High or Medium, or a scan that could not finish; 2 bad input or usage.",
    .run = runTextInspect,
};

}  // namespace velquor::cli
