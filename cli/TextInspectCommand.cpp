#include "cli/TextInspectCommand.h"

#include "cli/ArgumentParser.h"
#include "cli/ExitStatus.h"
#include "cli/TextAttention.h"
#include "cli/TextInput.h"
#include "cli/TextReportJson.h"
#include "cli/TextReportPrinter.h"
#include "cli/JsonWriter.h"
#include "cli/StagedTexts.h"
#include "cli/TerminalText.h"
#include "cli/TextScan.h"

#include "core/files/MetadataText.h"
#include "core/text/TextSanitizer.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>
#include <limits>
#include <ostream>
#include <string_view>
#include <system_error>

namespace velquor::cli {

namespace {

constexpr std::chrono::seconds gitTimeLimit{300};
// Staged blobs are read a slice at a time, so a huge commit never sits in memory at once.
constexpr std::size_t stagedSliceFiles = 256;
constexpr std::size_t stagedSliceBytes = 256 << 20;

TextReportSections sectionsFor(AttentionScope scope, bool scopeGiven) {
    return {.unicode = scope.unicode, .style = !scopeGiven, .privacy = scope.privacy};
}

int inspectOneText(std::optional<std::string_view> path, AttentionScope scope, bool scopeGiven, bool asJson,
                   CommandStreams& streams) {
    const auto read = readTextInputOrExplain(path, streams);
    if (!read) return badInputOrUsage;
    const auto report = restrictedReport(text::TextSanitizer().inspect(*read), scope);
    if (asJson) {
        writeTextReportJson(streams.out, report);
    } else {
        printTextReport(streams.out, report, sectionsFor(scope, scopeGiven));
    }
    return reportNeedsAttention(report) ? needsAttention : nothingToReport;
}

void showScanResult(const TextScanResult& result, AttentionScope scope, bool scopeGiven, bool asJson,
                    CommandStreams& streams) {
    if (result.outcome == TextScanResult::Outcome::unreadable) {
        streams.err << "velquor-cli: " << terminalSafe(files::metadataText(result.problem)) << '\n';
        return;
    }
    if (result.outcome != TextScanResult::Outcome::inspected) return;
    if (asJson) {
        JsonWriter json(streams.out);
        json.beginObject().field("path", files::metadataText(result.shownPath));
        json.field("needsAttention", result.needsAttention).key("report");
        writeTextReport(json, *result.report);
        json.endObject();
        streams.out << '\n';
    } else if (result.needsAttention) {
        streams.out << terminalSafe(files::metadataText(result.shownPath)) << '\n';
        printTextReport(streams.out, *result.report, sectionsFor(scope, scopeGiven));
        streams.out << '\n';
    }
}

void showTotals(const TextScanTotals& totals, bool asJson, CommandStreams& streams) {
    if (asJson) {
        JsonWriter json(streams.out);
        json.beginObject()
            .field("inspected", static_cast<std::int64_t>(totals.inspected))
            .field("needAttention", static_cast<std::int64_t>(totals.needAttention))
            .field("skipped", static_cast<std::int64_t>(totals.skipped + totals.unreadable))
            .endObject();
        streams.out << '\n';
        return;
    }
    streams.out << "Inspected " << counted(static_cast<std::int64_t>(totals.inspected), "file", "files") << ": "
                << totals.needAttention << (totals.needAttention == 1 ? " needs" : " need") << " attention, "
                << (totals.skipped + totals.unreadable) << " skipped.\n";
}

// Many texts, a slice at a time until `nextSlice` has none: the worst single-file status over
// all of them. A source that fails part-way has its failure told after what was shown.
int scanMany(std::string_view source, const std::function<std::vector<TextScanInput>()>& nextSlice,
             AttentionScope scope, bool scopeGiven, bool asJson, unsigned workers, CommandStreams& streams) {
    TextScanTotals totals;
    const auto show = [&](const TextScanResult& result) { showScanResult(result, scope, scopeGiven, asJson, streams); };
    try {
        for (auto slice = nextSlice(); !slice.empty(); slice = nextSlice()) {
            scanTexts(slice, scope, workers, show, totals);
        }
    } catch (const std::exception& error) {
        streams.err << "velquor-cli: could not read " << source << ": " << error.what() << '\n';
        return badInputOrUsage;
    }
    showTotals(totals, asJson, streams);
    if (totals.unreadable > 0) return badInputOrUsage;
    return totals.needAttention > 0 ? needsAttention : nothingToReport;
}

// A mistyped name stops the scan before it starts, so that nothing is printed for a command that
// could not do what was asked.
std::optional<std::string> firstMissing(const std::vector<std::string>& paths) {
    for (const auto& path : paths) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) return path;
    }
    return std::nullopt;
}

bool isFolder(const std::string& path) {
    std::error_code error;
    return path != "-" && std::filesystem::is_directory(path, error);
}

std::optional<unsigned> workerCount(const ParsedArguments& parsed) {
    const auto given = parsed.values.find("--jobs");
    if (given == parsed.values.end()) return 0u;
    unsigned count = 0;
    const auto& text = given->second;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size() || count == 0 || count > 256) return std::nullopt;
    return count;
}

int runTextInspect(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(arguments, {.flags = {"--json", "--staged"},
                                                   .valueOptions = {"--only", "--jobs"},
                                                   .maximumPositionals = std::numeric_limits<std::size_t>::max()});
    if (parsed.error) return reportUsageMistake(textInspectCommand, *parsed.error, streams);
    const auto only = parsed.valueLists.find("--only");
    const bool scopeGiven = only != parsed.valueLists.end();
    const auto scopeOrMistake = attentionScopeFrom(scopeGiven ? only->second : std::vector<std::string>{});
    if (const auto* unknown = std::get_if<std::string>(&scopeOrMistake)) {
        return reportUsageMistake(textInspectCommand, "--only takes 'unicode' or 'privacy', not '" + *unknown + "'",
                                  streams);
    }
    const auto scope = std::get<AttentionScope>(scopeOrMistake);
    const auto workers = workerCount(parsed);
    if (!workers) return reportUsageMistake(textInspectCommand, "--jobs takes a number from 1 to 256", streams);
    const bool asJson = parsed.has("--json");
    const auto& paths = parsed.positionals;

    if (parsed.has("--staged")) {
        if (!paths.empty()) return reportUsageMistake(textInspectCommand, "--staged takes no paths", streams);
        std::optional<StagedTexts> staged;
        try {
            staged.emplace(gitTimeLimit);
        } catch (const std::exception& error) {
            streams.err << "velquor-cli: could not read the staged files: " << error.what() << '\n';
            return badInputOrUsage;
        }
        return scanMany(
            "the staged files", [&] { return staged->next(stagedSliceFiles, stagedSliceBytes); }, scope, scopeGiven,
            asJson, *workers, streams);
    }
    if (paths.size() <= 1 && (paths.empty() || !isFolder(paths.front()))) {
        return inspectOneText(firstPositional(paths), scope, scopeGiven, asJson, streams);
    }
    if (std::find(paths.begin(), paths.end(), "-") != paths.end()) {
        return reportUsageMistake(textInspectCommand, "standard input cannot be scanned with other paths", streams);
    }
    if (const auto missing = firstMissing(paths)) {
        streams.err << "velquor-cli: " << terminalSafe(files::metadataText(*missing)) << ": no such file or folder\n";
        return badInputOrUsage;
    }
    const std::vector<std::filesystem::path> selection(paths.begin(), paths.end());
    auto inputs = folderScanInputs(selection);
    return scanMany(
        "the files", [&] { return std::exchange(inputs, {}); }, scope, scopeGiven, asJson, *workers, streams);
}

constexpr CommandOption options[] = {
    {"--json",
     "Print the report as one JSON object with the records' field names; for several files, one object per line "
     "per file ({path, needsAttention, report}), then {inspected, needAttention, skipped}."},
    {"--staged", "Inspect what is staged in the git repository of the current folder, as the index holds it."},
    {"--only unicode|privacy",
     "Look only at hidden Unicode and hidden messages, or only at privacy findings, for what is printed and for "
     "the exit status; may be given twice."},
    {"--jobs N", "Inspect N files at a time (default: one per core)."},
};

constexpr CommandExample examples[] = {
    {"velquor-cli text inspect notes.txt", "Inspect a text file."},
    {"git diff --cached | velquor-cli text inspect",
     "Check what is about to be committed: the exit status is 1 when something needs attention."},
    {"velquor-cli text inspect draft.md --json | jq .privacyReport.findings",
     "Only the privacy findings, for a script."},
    {"velquor-cli text inspect src docs README.md", "Scan two folders and a file in one run."},
    {"velquor-cli text inspect --staged", "A pre-commit check of everything staged."},
    {"velquor-cli text inspect --staged --only unicode", "A gate for hidden Unicode alone."},
};

}  // namespace

const Command textInspectCommand{
    .group = "text",
    .name = "inspect",
    .usage = "[FILE|-|PATH...] [--staged] [OPTIONS] [--json]",
    .summary = "Report hidden Unicode, hidden messages, style signals, privacy findings and counts for a text.",
    .description =
        "Inspect a text for what it carries beyond its visible words: hidden and control Unicode (zero-width and "
        "bidirectional controls, private-use scalars, unusual spaces, anything outside ASCII) and where each "
        "occurs; messages hidden in tag characters or variation selectors; templated-writing style signals with "
        "a 0-100 score, as advice and never as proof of authorship; and privacy findings (AWS access keys, API "
        "keys, JSON web tokens, private key blocks, .env assignments, private IP addresses, internal host names, "
        "tracked URLs). Hidden characters are shown as <U+200B> and secrets are masked.\n\n"
        "Reads FILE, or standard input when FILE is '-' or missing: at most 64 MiB of UTF-8 text.\n\n"
        "With several paths, a folder or --staged, every file is inspected in one run, several at a time. Folders "
        "are walked in the order a file manager shows names, leaving out hidden entries, symbolic links and "
        "document packages; files over 64 MiB and files that are not UTF-8 text (binary formats, NUL bytes, "
        "invalid UTF-8) are counted as skipped. Each file that needs attention is printed as its path and its "
        "report, then a summary line such as 'Inspected 812 files: 3 need attention, 41 skipped.' --staged reads "
        "the index's copy of every added, copied, modified or renamed file with git, so the working tree does "
        "not matter.",
    .options = options,
    .examples = examples,
    .exitStatus =
        "Exit status: 0 nothing needs attention (accented letters, emoji, style signals and Info findings never "
        "fail a check); 1 a Unicode issue other than a non-ASCII letter, a hidden message, a privacy finding of "
        "severity High or Medium, or a scan that could not finish; 2 bad input or usage. With --only, only the "
        "named kinds count. For several files: 1 when any file needs attention, 2 when a file or git could not be "
        "read.",
    .run = runTextInspect,
};

}  // namespace velquor::cli
