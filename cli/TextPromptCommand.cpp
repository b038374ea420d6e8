#include "TextPromptCommand.h"

#include "ArgumentParser.h"
#include "BaselineJson.h"
#include "ExitStatus.h"
#include "TextInput.h"

#include <text/TextInputError.h>
#include <text/TextSanitizer.h>
#include <text/Utf.h>

#include <algorithm>
#include <ostream>
#include <system_error>

namespace velquor::cli {

namespace {

constexpr std::string_view usage = "Usage: velquor-cli text prompt [FILE|-] [--baseline FILE]\n";

constexpr std::string_view help =
    "Print a prompt that asks an outside writing assistant to revise a text in its author's own\n"
    "voice: revision priorities from the text's style signals, requirements that forbid invented\n"
    "facts, and the text itself, cleaned of hidden Unicode, extra white space and tracking\n"
    "parameters, with every secret and private address replaced by a [REDACTED: ...] tag.\n"
    "Reads FILE, or standard input when FILE is '-' or missing (at most 64 MiB of UTF-8 text).\n\n"
    "  --baseline FILE   a baseline saved from 'velquor-cli text baseline DIR --json'; signals\n"
    "                    that fire much more often than in your own writing come first\n\n"
    "How many findings were redacted is noted on standard error.\n\n"
    "Exit status: 0 the prompt was printed; 1 a scan ran out of time, so a secret may not be\n"
    "redacted or a priority missing: read the prompt before passing it on; 2 bad input or usage.\n";

std::string counted(std::int64_t count, std::string_view singular, std::string_view plural) {
    return std::to_string(count) + " " + std::string(count == 1 ? singular : plural);
}

}  // namespace

int runTextPrompt(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(arguments, {.flags = {}, .valueOptions = {"--baseline"}, .maximumPositionals = 1});
    if (parsed.error) {
        streams.err << "velquor-cli: " << *parsed.error << '\n' << usage;
        return badInputOrUsage;
    }
    if (parsed.helpRequested) {
        streams.out << usage << '\n' << help;
        return nothingToReport;
    }

    std::optional<text::WritingStyleBaseline> baseline;
    if (const auto path = parsed.values.find("--baseline"); path != parsed.values.end()) {
        try {
            baseline = readBaselineFile(path->second);
        } catch (const std::exception& failure) {
            streams.err << "velquor-cli: the baseline " << path->second << " is not usable: " << failure.what() << '\n';
            return badInputOrUsage;
        }
    }

    std::u16string input;
    try {
        const auto path = parsed.positionals.empty() ? std::nullopt : std::optional<std::string_view>(parsed.positionals.front());
        input = readTextInput(path, streams);
    } catch (const text::TextInputError& failure) {
        streams.err << failure.what() << '\n';
        return badInputOrUsage;
    } catch (const std::system_error& failure) {
        streams.err << "velquor-cli: " << failure.what() << '\n';
        return badInputOrUsage;
    }

    const auto result = text::TextSanitizer().authorshipRewritePrompt(input, baseline);
    streams.out << text::encodeUtf8(result.prompt) << '\n';
    if (result.redactedFindings > 0) {
        streams.err << counted(result.redactedFindings, "sensitive finding", "sensitive findings") << " redacted.\n";
    }
    if (result.timedOutScans.empty()) return nothingToReport;
    const bool privacyIncomplete = std::any_of(result.timedOutScans.begin(), result.timedOutScans.end(),
                                               [](const auto& scan) { return scan.starts_with(u"Privacy: "); });
    streams.err << (privacyIncomplete ? "Warning: these scans ran out of time, so a secret may not have been redacted:\n"
                                      : "Warning: these scans ran out of time, so the priorities may be incomplete:\n");
    for (const auto& scan : result.timedOutScans) streams.err << "  " << text::encodeUtf8(scan) << '\n';
    return needsAttention;
}

}  // namespace velquor::cli
