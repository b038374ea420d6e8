#include "FileInspectCommand.h"

#include "ArgumentParser.h"
#include "ExitStatus.h"
#include "FileReportJson.h"
#include "FileReportPrinter.h"

#include <files/FileSanitizerError.h>
#include <files/InspectorRegistry.h>

#include <ostream>
#include <system_error>

namespace velquor::cli {

namespace {

constexpr std::string_view usage = "Usage: velquor-cli file inspect PATH [--json]\n";

constexpr std::string_view help =
    "List the metadata a file carries, in sections, and any content credentials it holds.\n"
    "Images (JPEG, PNG, GIF, WebP, TIFF, HEIC, AVIF), SVG, PDF, audio and video (MP4, MOV, M4V,\n"
    "M4A, MP3, WAV, AIFF, AAC, FLAC, AVI), and Office and iWork documents (docx, pptx, xlsx, pages,\n"
    "key, numbers) are supported in this build.\n\n"
    "  --json   print the report as one JSON object\n\n"
    "Exit status: 0 nothing personal found; 1 personal metadata (location, capture details,\n"
    "descriptions, authors, comments, previews) or provenance data; 2 bad input or usage.\n";

}  // namespace

int runFileInspect(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(arguments, {.flags = {"--json"}, .valueOptions = {}, .maximumPositionals = 1});
    if (parsed.helpRequested) {
        streams.out << usage << '\n' << help;
        return nothingToReport;
    }
    if (parsed.error || parsed.positionals.empty()) {
        streams.err << "velquor-cli: " << parsed.error.value_or("a file to inspect is needed") << '\n' << usage;
        return badInputOrUsage;
    }

    files::FileMetadataReport report;
    try {
        report = files::inspectReport(parsed.positionals.front());
    } catch (const files::FileSanitizerError& error) {
        streams.err << error.what() << '\n';
        return badInputOrUsage;
    } catch (const std::system_error& error) {
        streams.err << "velquor-cli: " << error.what() << '\n';
        return badInputOrUsage;
    }

    if (parsed.has("--json")) {
        writeFileReportJson(streams.out, report);
    } else {
        printFileReport(streams.out, report);
    }
    const bool attention = report.containsPersonalMetadata() || !report.provenanceEvidence.empty();
    return attention ? needsAttention : nothingToReport;
}

}  // namespace velquor::cli
