#include "cli/TextReviewCommand.h"

#include "cli/ArgumentParser.h"
#include "cli/ChangeReviewPrinter.h"
#include "cli/ExitStatus.h"
#include "cli/TextChangeJson.h"
#include "cli/TextInput.h"

#include "core/text/TextSanitizer.h"

#include <ostream>

namespace velquor::cli {

namespace {

int runTextReview(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(arguments, {.flags = {"--json"}, .valueOptions = {}, .maximumPositionals = 1});
    if (parsed.error) return reportUsageMistake(textReviewCommand, *parsed.error, streams);

    const auto read = readTextInputOrExplain(firstPositional(parsed.positionals), streams);
    if (!read) return badInputOrUsage;
    const std::u16string& input = *read;

    const auto items = text::TextSanitizer().reviewChanges(input);
    if (parsed.has("--json")) {
        writeChangeReviewJson(streams.out, items);
    } else {
        printChangeReview(streams.out, items);
    }
    return nothingToReport;
}

constexpr CommandOption options[] = {
    {"--json", "Print the review as one JSON array of the review items."},
};

constexpr CommandExample examples[] = {
    {"velquor-cli text review pasted.txt", "See what a full cleaning would change before cleaning."},
};

}  // namespace

const Command textReviewCommand{
    .group = "text",
    .name = "review",
    .usage = "[FILE|-] [--json]",
    .summary = "List what cleaning with every option would change, and where.",
    .description =
        "List what a cleaning pass with every option on would change in a text, per category: how many changes, "
        "where they are (UTF-16 offsets) and one example before and after. The text is not changed.\n\n"
        "Reads FILE, or standard input when FILE is '-' or missing: at most 64 MiB of UTF-8 text.",
    .options = options,
    .examples = examples,
    .exitStatus = "Exit status: 0 the text was reviewed; 2 bad input or usage.",
    .run = runTextReview,
};

}  // namespace velquor::cli
