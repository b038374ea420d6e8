#include "TextCleanCommand.h"

#include "ArgumentParser.h"
#include "ExitStatus.h"
#include "TextChangeJson.h"
#include "TextInput.h"

#include <text/TextInputError.h>
#include <text/TextSanitizer.h>
#include <text/Utf.h>

#include <algorithm>
#include <array>
#include <ostream>
#include <system_error>

namespace velquor::cli {

namespace {

constexpr std::string_view usage = "Usage: velquor-cli text clean [FILE|-] [OPTIONS] [--json]\n";

constexpr std::string_view help =
    "Clean a text and write it to standard output.\n"
    "Reads FILE, or standard input when FILE is '-' or missing (at most 64 MiB of UTF-8 text).\n"
    "Hidden and control Unicode, white space and URL tracking parameters are cleaned and line\n"
    "edges trimmed unless switched off; the writing options are off unless switched on.\n\n"
    "  --no-unicode      keep hidden and control Unicode\n"
    "  --no-whitespace   keep white space and line endings as they are (nothing is trimmed)\n"
    "  --no-tracking     keep tracking parameters in URLs\n"
    "  --no-trim         keep spaces at line edges and blank lines at the edges of the text\n"
    "  --punctuation     replace typographic dashes, quotes, primes, bullets and ellipses\n"
    "  --markdown        flatten headings, emphasis, links, fences and rules to plain text\n"
    "  --unwrap          join the single line breaks of hard-wrapped paragraphs\n"
    "  --ascii           transliterate to ASCII, replacing what has no equivalent\n"
    "  --hygiene         only the three hygiene cleanings, keeping edge spacing and the final\n"
    "                    line break: a filter for a selection; takes no other cleaning option\n"
    "  --json            print {text, summary, changedOutputOffsets} as one JSON object\n\n"
    "Exit status: 0 the text was cleaned; 2 bad input or usage.\n";

constexpr std::array<std::string_view, 8> optionFlags{"--no-unicode", "--no-whitespace", "--no-tracking", "--no-trim",
                                                      "--punctuation", "--markdown",     "--unwrap",      "--ascii"};

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
    const auto other = std::find_if(optionFlags.begin(), optionFlags.end(), [&](auto flag) { return parsed.has(flag); });
    if (other == optionFlags.end()) return std::nullopt;
    return "option '--hygiene' cannot be combined with '" + std::string(*other) + "'";
}

}  // namespace

int runTextClean(std::span<const std::string> arguments, CommandStreams& streams) {
    std::vector<std::string_view> flags(optionFlags.begin(), optionFlags.end());
    flags.push_back("--hygiene");
    flags.push_back("--json");
    const auto parsed = parseArguments(arguments, {.flags = flags, .valueOptions = {}, .maximumPositionals = 1});
    const auto error = parsed.error ? parsed.error : hygieneConflict(parsed);
    if (error) {
        streams.err << "velquor-cli: " << *error << '\n' << usage;
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

}  // namespace velquor::cli
