#include "cli/FileInspectCommand.h"

#include "cli/ArgumentParser.h"
#include "cli/BatchTable.h"
#include "cli/ExitStatus.h"
#include "cli/FileReportJson.h"
#include "cli/FileReportPrinter.h"
#include "cli/Interruption.h"
#include "cli/ProgressLine.h"
#include "cli/TerminalText.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/MetadataText.h"
#include "core/workflow/BatchRunner.h"
#include "core/workflow/FileAttention.h"
#include "core/workflow/FileSelection.h"
#include "core/workflow/StatusTexts.h"

#include <sys/stat.h>

#include <algorithm>
#include <limits>
#include <ostream>
#include <system_error>
#include <vector>

namespace velquor::cli {

namespace {

bool anythingAt(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

int inspectOneFile(const std::filesystem::path& file, bool asJson, CommandStreams& streams) {
    // A mistyped folder name would otherwise be told that its type is not supported.
    if (!anythingAt(file) && !files::isInspectable(file)) {
        streams.err << "velquor-cli: " << terminalSafe(files::metadataText(file.string()))
                    << ": no such file or folder\n";
        return badInputOrUsage;
    }
    files::FileMetadataReport report;
    try {
        report = files::inspectReport(file);
    } catch (const files::FileSanitizerError& error) {
        streams.err << error.what() << '\n';
        return badInputOrUsage;
    } catch (const std::system_error& error) {
        streams.err << "velquor-cli: " << error.what() << '\n';
        return badInputOrUsage;
    }

    if (asJson) {
        writeFileReportJson(streams.out, report);
    } else {
        printFileReport(streams.out, report);
    }
    return workflow::fileNeedsAttention(file, report) ? needsAttention : nothingToReport;
}

int inspectBatch(std::span<const std::filesystem::path> selection, bool asJson, CommandStreams& streams) {
    const InterruptionWatch interruption;
    ProgressLine progress(streams.err, streams.errorIsTerminal);
    progress.show(workflow::lookingForFilesProgress);
    const auto showProgress = [&](std::size_t finished, std::size_t total) {
        progress.show(workflow::inspectingProgress(finished, total));
    };
    const auto rows = workflow::inspectSelectionAsBatch(
        selection, {.workers = 0, .stop = interruption.token(), .progress = showProgress});
    progress.clear();
    if (interruption.interrupted()) {
        streams.err << "velquor-cli: interrupted\n";
        return interrupted;
    }

    if (asJson) {
        writeBatchTableJson(streams.out, rows);
    } else {
        printBatchTable(streams.out, rows);
    }
    const auto any = [&](bool workflow::BatchFileResult::*flag) {
        return std::any_of(rows.begin(), rows.end(), [&](const auto& row) { return row.*flag; });
    };
    if (any(&workflow::BatchFileResult::failed)) return badInputOrUsage;
    return any(&workflow::BatchFileResult::needsAttention) ? needsAttention : nothingToReport;
}

int runFileInspect(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(
        arguments,
        {.flags = {"--json"}, .valueOptions = {}, .maximumPositionals = std::numeric_limits<std::size_t>::max()});
    if (parsed.error) return reportUsageMistake(fileInspectCommand, *parsed.error, streams);
    if (parsed.positionals.empty()) {
        return reportUsageMistake(fileInspectCommand, "a file or folder to inspect is needed", streams);
    }

    const bool asJson = parsed.has("--json");
    const std::vector<std::filesystem::path> selection(parsed.positionals.begin(), parsed.positionals.end());
    if (workflow::routeSelection(selection) == workflow::SelectionRoute::singleFile) {
        return inspectOneFile(selection.front(), asJson, streams);
    }
    return inspectBatch(selection, asJson, streams);
}

constexpr CommandOption options[] = {
    {"--json",
     "Print the report as one JSON object with the records' field names; for a batch, "
     "{\"batchReports\": [...], \"fileStatus\": ...} with one object per row (id, url, type, findings, "
     "status, needsAttention)."},
};

constexpr CommandExample examples[] = {
    {"velquor-cli file inspect holiday.jpg", "Every metadata entry of one photo, by section."},
    {"velquor-cli file inspect ~/Pictures", "Audit a folder: one row per supported file, at most 200."},
    {"velquor-cli file inspect --json report.pdf slides.pptx", "Two files as a batch, for a script."},
};

}  // namespace

const Command fileInspectCommand{
    .group = "file",
    .name = "inspect",
    .usage = "PATH... [--json]",
    .summary =
        "List a file's metadata by section and any content credentials, or inspect files and folders "
        "as a batch.",
    .description =
        "With one file: list the metadata it carries, in sections (Location, Capture, Description, Preview, File "
        "and the family's own), with content credentials (C2PA) and weaker provenance traces first.\n\n"
        "With several paths or a folder: inspect them as a batch of at most 200 supported files, several at a "
        "time, and print one row per file (file, type, findings, status) and a summary line. Folders are walked "
        "recursively in name order; hidden files, symbolic links and unsupported files are left out. The status "
        "is \"Credentials\" for content credentials, \"Possible provenance\" for weaker traces, \"OK\" otherwise, or "
        "the message of the error that stopped the file's inspection, whose type is then \"-\". A progress line "
        "is shown on standard error when it is a terminal; Ctrl-C stops after the files in hand.\n\n"
        "Supported: images (JPEG, PNG and APNG, GIF, WebP, TIFF, HEIC, HEIF, AVIF), SVG, PDF, audio and video "
        "(MP4, MOV, M4V, M4A, MP3, WAV, AIFF, AAC, FLAC, Ogg, Opus, Matroska, WebM, AVI, Windows Media), Office "
        "and iWork documents (docx, pptx, xlsx, pages, key, numbers), OpenDocument files (odt, ods, odp, odg and "
        "their templates ott, ots, otp, otg) and EPUB books.",
    .options = options,
    .examples = examples,
    .exitStatus =
        "Exit status: 0 nothing to report; 1 a file has provenance data, or carries what its privacy copy would "
        "remove (personal metadata for images, PDF, audio and video; anything at all for SVG; document properties, "
        "comments, tracked changes, people, external links and embedded files with metadata of their own for "
        "Office, iWork and OpenDocument; personal settings and macros for OpenDocument; anything but the title, "
        "language, identifier, ISBN and cover for EPUB); 2 bad usage, or a file that "
        "could not be inspected; 130 interrupted.",
    .run = runFileInspect,
};

}  // namespace velquor::cli
