#include "TextReviewCommand.h"

#include "ArgumentParser.h"
#include "ChangeReviewPrinter.h"
#include "ExitStatus.h"
#include "TextChangeJson.h"
#include "TextInput.h"

#include <text/TextInputError.h>
#include <text/TextSanitizer.h>

#include <ostream>
#include <system_error>

namespace velquor::cli {

namespace {

constexpr std::string_view usage = "Usage: velquor-cli text review [FILE|-] [--json]\n";

constexpr std::string_view help =
    "List what a cleaning pass with every option on would change in a text, per category: how\n"
    "many changes, where they are (UTF-16 offsets) and one example. The text is not changed.\n"
    "Reads FILE, or standard input when FILE is '-' or missing (at most 64 MiB of UTF-8 text).\n\n"
    "  --json   print the review as one JSON array\n\n"
    "Exit status: 0 the text was reviewed; 2 bad input or usage.\n";

}  // namespace

int runTextReview(std::span<const std::string> arguments, CommandStreams& streams) {
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
    } catch (const text::TextInputError& failure) {
        streams.err << failure.what() << '\n';
        return badInputOrUsage;
    } catch (const std::system_error& failure) {
        streams.err << "velquor-cli: " << failure.what() << '\n';
        return badInputOrUsage;
    }

    const auto items = text::TextSanitizer().reviewChanges(input);
    if (parsed.has("--json")) {
        writeChangeReviewJson(streams.out, items);
    } else {
        printChangeReview(streams.out, items);
    }
    return nothingToReport;
}

}  // namespace velquor::cli
