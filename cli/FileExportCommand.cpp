#include "cli/FileExportCommand.h"

#include "cli/ArgumentParser.h"
#include "cli/ExitStatus.h"
#include "cli/Interruption.h"
#include "cli/JsonWriter.h"
#include "cli/ProgressLine.h"
#include "cli/TerminalText.h"

#include "core/files/MetadataText.h"
#include "core/workflow/PrivacyCopyOutcome.h"
#include "core/workflow/StatusTexts.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <ostream>
#include <vector>

namespace velquor::cli {

namespace {

using workflow::PrivacyCopyOutcome;

std::u16string pathText(const std::filesystem::path& path) { return files::metadataText(path.string()); }

std::string shown(const std::filesystem::path& path) { return terminalSafe(pathText(path)); }

PrivacyCopyOutcome exportOne(const std::filesystem::path& source, const std::optional<std::filesystem::path>& output) {
    return output ? workflow::exportPrivacyCopy(source, *output) : workflow::exportPrivacyCopyNextToSource(source);
}

// The copy's path on standard output, or the reason it was refused on standard error (naming
// the file when there are several).
void printOutcome(const PrivacyCopyOutcome& outcome, bool nameTheSource, bool asJson, CommandStreams& streams) {
    if (outcome.copy) {
        if (!asJson) streams.out << shown(*outcome.copy) << '\n';
        return;
    }
    if (nameTheSource) streams.err << shown(outcome.source) << ": ";
    streams.err << terminalSafe(outcome.status) << '\n';
}

void writeOutcomesJson(std::ostream& out, const std::vector<PrivacyCopyOutcome>& outcomes) {
    JsonWriter json(out);
    json.beginArray();
    for (const auto& outcome : outcomes) {
        json.beginObject().field("url", pathText(outcome.source)).key("outputURL");
        if (outcome.copy) {
            json.value(pathText(*outcome.copy));
        } else {
            json.nullValue();
        }
        json.field("fileStatus", outcome.status).endObject();
    }
    json.endArray();
    out << '\n';
}

int runFileExport(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(arguments, {.flags = {"--json"},
                                                   .valueOptions = {"--output"},
                                                   .maximumPositionals = std::numeric_limits<std::size_t>::max()});
    std::optional<std::string> mistake = parsed.error;
    if (!mistake && parsed.positionals.empty()) mistake = "a file to export is needed";
    if (!mistake && parsed.values.contains("--output") && parsed.positionals.size() > 1) {
        mistake = "--output takes exactly one file";
    }
    if (mistake) return reportUsageMistake(fileExportCommand, *mistake, streams);

    std::optional<std::filesystem::path> output;
    if (const auto value = parsed.values.find("--output"); value != parsed.values.end()) output = value->second;
    const bool asJson = parsed.has("--json");
    const std::vector<std::filesystem::path> sources(parsed.positionals.begin(), parsed.positionals.end());

    const InterruptionWatch interruption;
    ProgressLine progress(streams.err, streams.errorIsTerminal && sources.size() > 1);
    std::vector<PrivacyCopyOutcome> outcomes;
    for (const auto& source : sources) {
        if (interruption.interrupted()) break;
        progress.show(workflow::exportingProgress(outcomes.size() + 1, sources.size()));
        outcomes.push_back(exportOne(source, output));
        progress.clear();
        printOutcome(outcomes.back(), sources.size() > 1, asJson, streams);
    }
    if (asJson) writeOutcomesJson(streams.out, outcomes);
    if (interruption.interrupted()) {
        streams.err << "velquor-cli: interrupted\n";
        return interrupted;
    }
    const bool allWritten =
        std::all_of(outcomes.begin(), outcomes.end(), [](const auto& outcome) { return outcome.copy.has_value(); });
    return allWritten ? nothingToReport : badInputOrUsage;
}

constexpr CommandOption options[] = {
    {"--output DEST", "Write the copy of a single file to DEST, which must not exist."},
    {"--json",
     "Print one JSON array with an object per file: url (the file), outputURL (the copy, or null) "
     "and fileStatus (\"Created and verified NAME.\" or the error's message)."},
};

constexpr CommandExample examples[] = {
    {"velquor-cli file export holiday.jpg", "Writes and prints holiday-privacy.jpg next to the photo."},
    {"velquor-cli file export *.jpg *.pdf", "One verified copy per file; a refusal does not stop the others."},
    {"velquor-cli file export report.docx --output /tmp/report.docx", "Choose where the copy goes."},
};

}  // namespace

const Command fileExportCommand{
    .group = "file",
    .name = "export",
    .usage = "PATH... [--output DEST] [--json]",
    .summary = "Write a verified privacy copy next to each file.",
    .description =
        "Write a privacy copy of each file next to it, as name-privacy.ext (then name-privacy-2.ext and onward), "
        "and print the copy's path. Each copy is inspected again before it is moved into place, and nothing is "
        "ever replaced. A file that cannot be copied is reported and the others still are. Folders are refused: "
        "name the files to export.\n\n"
        "Images keep their pixels byte for byte, the orientation and the animation timing, and lose Exif, GPS, "
        "IPTC, XMP, comments, text chunks and previews; files with content credentials stay inspect-only. PDF "
        "copies lose the document information, XMP and annotation texts, with annotations flattened into the "
        "pages. SVG copies lose comments, metadata, scripts and editor attributes. Audio and video copies (MP4, "
        "MOV, M4V, M4A, MP3, WAV, AIFF, AAC, FLAC, Ogg, Opus, Matroska, WebM, AVI and Windows Media) keep every "
        "audio and video packet as it is, with the rotation, and lose tags, cover art, attachments, chapters, data "
        "tracks and encoder names; MP3 copies keep their gapless information. docx, pptx and xlsx copies lose "
        "document properties, comments, tracked-change authors, external links and entry times, and their "
        "embedded pictures and documents are cleaned like files of their own. OpenDocument copies have their "
        "tracked changes accepted and lose document properties, thumbnails, comments, personal settings, macros "
        "and links to content outside the file; signed OpenDocument files are refused. EPUB copies keep the "
        "content documents, title and language, get a fresh random identifier, and lose authors, publisher, "
        "dates, rights, descriptions and the tools' metadata; books with protected content are refused. HEIC, "
        "HEIF and AVIF cannot be "
        "rewritten, so their Exif and XMP items are emptied in place. iWork files are inspect-only.",
    .options = options,
    .examples = examples,
    .exitStatus =
        "Exit status: 0 every copy was written and verified; 2 a file was refused, or bad usage; "
        "130 interrupted (the copy in hand is finished or removed first).",
    .run = runFileExport,
};

}  // namespace velquor::cli
