#include "TextInspectCommand.h"

#include "ArgumentParser.h"
#include "Attention.h"
#include "ExitStatus.h"
#include "TextInput.h"
#include "TextReportJson.h"
#include "TextReportPrinter.h"

#include <text/TextInputError.h>
#include <text/TextSanitizer.h>

#include <ostream>
#include <system_error>

namespace velquor::cli {

namespace {

constexpr std::string_view usage = "Usage: velquor-cli text inspect [FILE|-] [--json]\n";

constexpr std::string_view help =
    "Inspect a text for what it carries beyond its visible words.\n"
    "Reads FILE, or standard input when FILE is '-' or missing (at most 64 MiB of UTF-8 text).\n\n"
    "  --json   print the report as one JSON object\n\n"
    "Exit status: 0 nothing needs attention; 1 a privacy finding of severity High or Medium,\n"
    "or a scan that could not finish; 2 bad input or usage.\n";

}  // namespace

int runTextInspect(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(arguments, {.flags = {"--json"}, .valueOptions = {}, .maximumPositionals = 1});
    if (parsed.error) {
        streams.err << "velquor-cli: " << *parsed.error << '\n' << usage;
        return badInputOrUsage;
    }
    if (parsed.helpRequested) {
        streams.out << usage << '\n' << help;
        return nothingToReport;
    }

    std::u16string input;
    try {
        const auto path = parsed.positionals.empty() ? std::nullopt : std::optional<std::string_view>(parsed.positionals.front());
        input = readTextInput(path, streams);
    } catch (const text::TextInputError& error) {
        streams.err << error.what() << '\n';
        return badInputOrUsage;
    } catch (const std::system_error& error) {
        streams.err << "velquor-cli: " << error.what() << '\n';
        return badInputOrUsage;
    }

    const auto report = text::TextSanitizer().inspect(input);
    if (parsed.has("--json")) {
        writeTextReportJson(streams.out, report);
    } else {
        printTextReport(streams.out, report);
    }
    return reportNeedsAttention(report) ? needsAttention : nothingToReport;
}

}  // namespace velquor::cli
