#include "core/files/svg/SVGPrivacySanitizer.h"

#include "core/files/EntryOrder.h"
#include "core/files/FileBytes.h"
#include "core/files/FileExportSafety.h"
#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
#include "core/files/svg/SvgScan.h"
#include "core/files/svg/SvgStructure.h"
#include "core/files/svg/SvgXmlDocument.h"

#include "core/text/base/TextConversions.h"
#include "core/text/base/Utf.h"
#include "core/text/base/Whitespace.h"

#include <unicode/uchar.h>

#include <algorithm>

namespace velquor::files {

namespace {

struct SvgFile {
    std::u16string text;
    std::int64_t byteCount;
};

// UTF-8 text with an SVG root, or unreadableFile. A byte-order mark tells the encoding and is
// not part of the text.
SvgFile readSvgFile(const std::filesystem::path& file) {
    const auto bytes = readWholeFile(file, SVGPrivacySanitizer::maximumByteCount);
    if (!bytes) throwUnreadableFile();
    auto text = text::decodeUtf8(*bytes);
    if (!text) throwUnreadableFile();
    if (!text->empty() && text->front() == u'\uFEFF') text->erase(0, 1);
    if (!containsSvgRoot(*text)) throwUnreadableFile();
    return {std::move(*text), static_cast<std::int64_t>(bytes->size())};
}

bool isHorizontalSpace(char16_t unit) { return unit == u'\t' || u_charType(unit) == U_SPACE_SEPARATOR; }

std::u16string_view trimmedHorizontalSpace(std::u16string_view line) {
    while (!line.empty() && isHorizontalSpace(line.front())) line.remove_prefix(1);
    while (!line.empty() && isHorizontalSpace(line.back())) line.remove_suffix(1);
    return line;
}

// Every line trimmed of spaces and tabs, blank lines dropped, the rest joined with line feeds.
std::u16string tidiedLines(std::u16string_view text) {
    std::u16string joined;
    joined.reserve(text.size());
    for (;;) {
        std::size_t end = 0;
        while (end < text.size() && !text::isLineTerminator(text[end])) ++end;
        const auto line = trimmedHorizontalSpace(text.substr(0, end));
        if (!line.empty()) {
            if (!joined.empty()) joined.push_back(u'\n');
            joined.append(line);
        }
        if (end == text.size()) break;
        text.remove_prefix(end + 1);
    }
    return joined;
}

// The text after the pattern replacements, and that text read by namespace. A prefix that the
// patterns do not spell ("<s:script>", "x:label" with x bound to Inkscape) only shows there.
struct ReplacedSvg {
    std::u16string text;
    SvgXmlDocument structure;
};

ReplacedSvg afterReplacements(std::u16string_view svg) {
    auto replaced = svgAfterReplacements(svg);
    auto structure = SvgXmlDocument::parse(replaced);
    return {std::move(replaced), std::move(structure)};
}

void addFinding(std::vector<SvgRowCount>& counts, SvgStructureKind kind) {
    const auto name = svgStructureName(kind);
    auto row = std::find_if(counts.begin(), counts.end(), [&](const SvgRowCount& count) { return count.name == name; });
    if (row != counts.end()) {
        ++row->count;
    } else {
        counts.push_back({svgStructureSection(kind), name, 1});
    }
}

// One entry per row with something found, in row order (not yet sorted): what the patterns
// match in the text, and what the namespace-aware reading finds in what their cleaning leaves.
std::vector<FileMetadataEntry> unsortedEntries(std::u16string_view svg) {
    auto counts = svgDetectionCounts(svg);
    for (const auto& finding : svgStructureFindings(afterReplacements(svg).structure)) {
        if (!finding.countedByPatterns) addFinding(counts, finding.kind);
    }
    std::vector<FileMetadataEntry> entries;
    for (const auto& [section, name, count] : counts) {
        if (count == 0) continue;
        const auto id = std::u16string(section) + u"-" + std::u16string(name);
        entries.push_back({id, std::u16string(section), std::u16string(name), text::decimalText(count)});
    }
    return entries;
}

// An XML declaration is kept where the text had one.
bool startsWithXmlDeclaration(std::u16string_view text) {
    constexpr std::u16string_view declarationStart = u"<?xml";
    if (!text.starts_with(declarationStart) || text.size() == declarationStart.size()) return false;
    const auto next = text[declarationStart.size()];
    return next == u' ' || next == u'\t' || next == u'\n' || next == u'\r';
}

// The report of any file read as SVG, whatever its name: a staged copy is named after its
// destination, which need not end in .svg.
FileMetadataReport inspectSvgFile(const std::filesystem::path& file) {
    const auto svg = readSvgFile(file);
    return buildFileReport(
        reportFileName(file),
        {.typeDescription = u"SVG document", .byteCount = svg.byteCount, .entries = unsortedEntries(svg.text)});
}

}  // namespace

bool SVGPrivacySanitizer::isSupported(const std::filesystem::path& file) { return lowercasedExtension(file) == "svg"; }

std::vector<FileMetadataEntry> SVGPrivacySanitizer::entries(std::u16string_view svg) {
    auto entries = unsortedEntries(svg);
    sortEntries(entries);
    return entries;
}

FileMetadataReport SVGPrivacySanitizer::inspect(const std::filesystem::path& file) const {
    if (!isSupported(file)) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    return inspectSvgFile(file);
}

// Whatever the copy still shows, personal or not, is something the cleaning missed.
bool SVGPrivacySanitizer::failsPrivacyVerification(const FileMetadataReport& report) const {
    return !report.entries.empty();
}

std::u16string SVGPrivacySanitizer::clean(std::u16string_view svg) const {
    auto replaced = afterReplacements(svg);
    if (removeClassifiedFindings(svgStructureFindings(replaced.structure))) {
        replaced.text = replaced.structure.serialized(startsWithXmlDeclaration(replaced.text));
    }
    std::u16string cleaned(text::trimmedWhitespaceAndNewlines(tidiedLines(replaced.text)));
    cleaned.push_back(u'\n');
    return cleaned;
}

void SVGPrivacySanitizer::exportPrivacyCopy(const std::filesystem::path& source,
                                            const std::filesystem::path& destination) const {
    FileExportSafety::exportPrivacyCopy(
        destination, FileExportSafety::BytesWriter{[&] {
            const auto cleaned = text::encodeUtf8(clean(readSvgFile(source).text));
            return std::vector<std::uint8_t>(cleaned.begin(), cleaned.end());
        }},
        [&](const std::filesystem::path& copy) { return FileExportSafety::verdictOn(*this, inspectSvgFile(copy)); });
}

}  // namespace velquor::files
