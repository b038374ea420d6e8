#include "cli/TextPromptCommand.h"

#include "cli/ArgumentParser.h"
#include "cli/BaselineJson.h"
#include "cli/ExitStatus.h"
#include "cli/TerminalText.h"
#include "cli/JsonWriter.h"
#include "cli/TextInput.h"

#include "core/text/TextSanitizer.h"
#include "core/text/base/Utf.h"

#include <algorithm>
#include <ostream>

namespace velquor::cli {

namespace {

void writePromptJson(std::ostream& out, const text::AuthorshipPromptResult& result) {
    JsonWriter json(out);
    json.beginObject()
        .field("prompt", result.prompt)
        .field("sourceText", result.sourceText)
        .field("includedSignals", result.includedSignals)
        .field("redactedFindings", result.redactedFindings)
        .field("usesPersonalBaseline", result.usesPersonalBaseline);
    json.key("timedOutScans").beginArray();
    for (const auto& scan : result.timedOutScans) json.value(scan);
    json.endArray().endObject();
    out << '\n';
}

int runTextPrompt(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed =
        parseArguments(arguments, {.flags = {"--json"}, .valueOptions = {"--baseline"}, .maximumPositionals = 1});
    if (parsed.error) return reportUsageMistake(textPromptCommand, *parsed.error, streams);

    std::optional<text::WritingStyleBaseline> baseline;
    if (const auto path = parsed.values.find("--baseline"); path != parsed.values.end()) {
        try {
            baseline = readBaselineFile(path->second);
        } catch (const std::exception& failure) {
            streams.err << "velquor-cli: the baseline " << path->second << " is not usable: " << failure.what() << '\n';
            return badInputOrUsage;
        }
    }

    const auto read = readTextInputOrExplain(firstPositional(parsed.positionals), streams);
    if (!read) return badInputOrUsage;
    const std::u16string& input = *read;

    const auto result = text::TextSanitizer().authorshipRewritePrompt(input, baseline);
    if (parsed.has("--json")) {
        writePromptJson(streams.out, result);
    } else {
        streams.out << text::encodeUtf8(result.prompt) << '\n';
    }
    if (result.redactedFindings > 0) {
        streams.err << counted(result.redactedFindings, "sensitive finding", "sensitive findings") << " redacted.\n";
    }
    if (result.timedOutScans.empty()) return nothingToReport;
    const bool privacyIncomplete = std::any_of(result.timedOutScans.begin(), result.timedOutScans.end(),
                                               [](const auto& scan) { return scan.starts_with(u"Privacy: "); });
    streams.err << (privacyIncomplete
                        ? "Warning: these scans ran out of time, so a secret may not have been redacted:\n"
                        : "Warning: these scans ran out of time, so the priorities may be incomplete:\n");
    for (const auto& scan : result.timedOutScans) streams.err << "  " << text::encodeUtf8(scan) << '\n';
    return needsAttention;
}

constexpr CommandOption options[] = {
    {"--json",
     "Print the result as one JSON object: the prompt, the source text as embedded, the counts of priority lines and "
     "redacted findings, whether a baseline was used, and any scan that ran out of time."},
    {"--baseline FILE",
     "A baseline saved from 'velquor-cli text baseline DIR --json'; signals that fire much more often than in your own "
     "writing come first."},
};

constexpr CommandExample examples[] = {
    {"velquor-cli text prompt draft.md --baseline baseline.json",
     "A prompt whose priorities are where the draft differs from your own writing."},
};

}  // namespace

const Command textPromptCommand{
    .group = "text",
    .name = "prompt",
    .usage = "[FILE|-] [--baseline FILE] [--json]",
    .summary = "Print a rewrite prompt for an outside writing assistant, with secrets redacted.",
    .description =
        "Print a prompt that asks an outside writing assistant to revise a text in its author's own voice: revision "
        "priorities from the text's style signals, requirements that forbid invented facts, and the text itself, "
        "cleaned of hidden Unicode, extra white space and tracking parameters, with every secret and private address "
        "replaced by a [REDACTED: ...] tag. How many findings were redacted is noted on standard error.\n\nReads FILE, "
        "or standard input when FILE is '-' or missing: at most 64 MiB of UTF-8 text.",
    .options = options,
    .examples = examples,
    .exitStatus =
        "Exit status: 0 the prompt was printed; 1 a scan ran out of time, so a secret may not be redacted or a "
        "priority may be missing: read the prompt before passing it on; 2 bad input or usage.",
    .run = runTextPrompt,
};

}  // namespace velquor::cli
