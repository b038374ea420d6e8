#include "cli/TextCleanCommand.h"

#include "cli/ArgumentParser.h"
#include "cli/ExitStatus.h"
#include "cli/TextChangeJson.h"
#include "cli/TextInput.h"

#include "core/text/TextSanitizer.h"
#include "core/text/base/Utf.h"

#include <algorithm>
#include <array>
#include <ostream>

namespace velquor::cli {

namespace {

constexpr std::array<std::string_view, 8> optionFlags{"--no-unicode",  "--no-whitespace", "--no-tracking", "--no-trim",
                                                      "--punctuation", "--markdown",      "--unwrap",      "--ascii"};

text::CleaningOptions optionsFrom(const ParsedArguments& parsed) {
    return {
        .asciiOnly = parsed.has("--ascii"),
        .flattenMarkdown = parsed.has("--markdown"),
        .unwrapParagraphs = parsed.has("--unwrap"),
        .normalizePunctuation = parsed.has("--punctuation"),
        .removeUnsafeUnicode = !parsed.has("--no-unicode"),
        .normalizeWhitespace = !parsed.has("--no-whitespace"),
        .stripTrackingParameters = !parsed.has("--no-tracking"),
        .trimWhitespace = !parsed.has("--no-trim"),
    };
}

std::optional<std::string> hygieneConflict(const ParsedArguments& parsed) {
    if (!parsed.has("--hygiene")) return std::nullopt;
    const auto other =
        std::find_if(optionFlags.begin(), optionFlags.end(), [&](auto flag) { return parsed.has(flag); });
    if (other == optionFlags.end()) return std::nullopt;
    return "option '--hygiene' cannot be combined with '" + std::string(*other) + "'";
}

int runTextClean(std::span<const std::string> arguments, CommandStreams& streams) {
    std::vector<std::string_view> flags(optionFlags.begin(), optionFlags.end());
    flags.push_back("--hygiene");
    flags.push_back("--json");
    const auto parsed = parseArguments(arguments, {.flags = flags, .valueOptions = {}, .maximumPositionals = 1});
    const auto error = parsed.error ? parsed.error : hygieneConflict(parsed);
    if (error) return reportUsageMistake(textCleanCommand, *error, streams);

    const auto read = readTextInputOrExplain(firstPositional(parsed.positionals), streams);
    if (!read) return badInputOrUsage;
    const std::u16string& input = *read;

    const text::TextSanitizer sanitizer;
    const auto result = parsed.has("--hygiene") ? sanitizer.cleanSelectedTextHygiene(input)
                                                : sanitizer.cleanPlainTextResult(input, optionsFrom(parsed));
    if (parsed.has("--json")) {
        writeCleanResultJson(streams.out, result);
    } else {
        streams.out << text::encodeUtf8(result.text);
    }
    return nothingToReport;
}

constexpr CommandOption options[] = {
    {"--no-unicode", "Keep hidden and control Unicode."},
    {"--no-whitespace", "Keep white space and line endings as they are (nothing is trimmed)."},
    {"--no-tracking", "Keep tracking parameters in URLs."},
    {"--no-trim", "Keep spaces at line edges and blank lines at the edges of the text."},
    {"--punctuation", "Replace typographic dashes, quotes, primes, bullets and ellipses with plain ones."},
    {"--markdown", "Flatten headings, emphasis, links, fences and rules to plain text."},
    {"--unwrap", "Join the single line breaks of hard-wrapped paragraphs."},
    {"--ascii", "Transliterate to ASCII, replacing what has no equivalent."},
    {"--hygiene",
     "Only the three hygiene cleanings (hidden Unicode, white space, tracking parameters), keeping edge spacing "
     "and the final line break: a filter for an editor selection. Takes no other cleaning option."},
    {"--json", "Print {text, summary, changedOutputOffsets} as one JSON object."},
};

constexpr CommandExample examples[] = {
    {"velquor-cli text clean draft.txt > clean.txt", "Write a cleaned copy of a text."},
    {"xclip -o | velquor-cli text clean --hygiene | xclip -selection clipboard",
     "Clean the current selection and put the result on the clipboard."},
    {"velquor-cli text clean --markdown --unwrap --punctuation answer.md",
     "Turn pasted Markdown into plain paragraphs with plain punctuation."},
};

}  // namespace

const Command textCleanCommand{
    .group = "text",
    .name = "clean",
    .usage = "[FILE|-] [OPTIONS] [--json]",
    .summary = "Write the cleaned text to standard output.",
    .description =
        "Clean a text and write it to standard output. Hidden and control Unicode, white space and URL tracking "
        "parameters are cleaned and line edges trimmed unless switched off; the writing options (punctuation, "
        "Markdown, unwrapping, ASCII) are off unless switched on. The invisible characters that scripts and emoji "
        "need are kept.\n\n"
        "Reads FILE, or standard input when FILE is '-' or missing: at most 64 MiB of UTF-8 text.",
    .options = options,
    .examples = examples,
    .exitStatus = "Exit status: 0 the text was cleaned; 2 bad input or usage.",
    .run = runTextClean,
};

}  // namespace velquor::cli
