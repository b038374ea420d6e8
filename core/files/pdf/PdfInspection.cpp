#include "core/files/pdf/PdfInspection.h"

#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/MetadataText.h"
#include "core/files/pdf/PdfAnnotations.h"
#include "core/files/pdf/PdfAttributes.h"

#include "core/text/base/TextConversions.h"
#include "core/text/regex/Regex.h"

#include "core/files/pdf/QpdfHeaders.h"

#include <array>
#include <exception>
#include <set>

namespace velquor::files {

namespace {

struct ByteSignal {
    std::u16string_view section;
    std::u16string_view name;
    std::u16string_view pattern;
};

constexpr std::array<ByteSignal, 7> byteSignals{{
    {u"Description", u"XMP metadata", uR"re(/Metadata\b|<x:xmpmeta\b)re"},
    {u"Embedded", u"Embedded files", uR"re(/EmbeddedFile\b|/Filespec\b)re"},
    {u"Embedded", u"Images", uR"re(/Subtype\s*/Image\b)re"},
    {u"Embedded", u"Fonts", uR"re(/FontFile[0-9]?\b)re"},
    {u"PDF", u"JavaScript actions", uR"re(/JavaScript\b|/JS\b)re"},
    {u"PDF", u"Launch actions", uR"re(/Launch\b)re"},
    {u"PDF", u"Rich media", uR"re(/RichMedia\b)re"},
}};

constexpr std::size_t annotationTextsShown = 3;

// Counts every annotation the document holds, and keeps the first texts: the contents, or the
// author when there are no contents.
void appendAnnotations(QPDF& pdf, const PdfWorkBudget& budget, std::vector<FileMetadataEntry>& entries) {
    const auto annotations = allAnnotations(pdf, budget);
    const auto count = annotations.size();
    std::vector<std::u16string> texts;
    for (auto annotation : annotations) {
        if (texts.size() == annotationTextsShown) break;
        auto text = annotation.getKey("/Contents");
        if (!text.isString()) text = annotation.getKey("/T");
        if (text.isString()) texts.push_back(pdfTextString(text));
    }
    if (count > 0) entries.push_back(pdfEntry(u"PDF", u"Annotations", text::decimalText(count)));
    if (texts.empty()) return;
    std::u16string joined;
    for (const auto& text : texts) {
        if (&text != &texts.front()) joined += u", ";
        joined += text;
    }
    entries.push_back(pdfEntry(u"Description", u"Annotation text", joined));
}

const std::vector<std::optional<text::Regex>>& compiledByteSignals() {
    static const std::vector<std::optional<text::Regex>> patterns = [] {
        std::vector<std::optional<text::Regex>> compiled;
        for (const auto& signal : byteSignals) {
            compiled.push_back(text::Regex::compile(signal.pattern, {.caseInsensitive = true}));
        }
        return compiled;
    }();
    return patterns;
}

// The signals in the bytes read as Latin-1, so that every byte is one character whatever the
// streams hold.
void appendByteSignals(ByteView leadingBytes, const PdfWorkBudget& budget, std::vector<FileMetadataEntry>& entries) {
    const auto scanned = leadingBytes.first(std::min(leadingBytes.size(), byteSignalLimit));
    const auto text = latin1Text({reinterpret_cast<const char*>(scanned.data()), scanned.size()});
    if (text.empty()) return;
    const auto& patterns = compiledByteSignals();
    for (std::size_t i = 0; i < byteSignals.size(); ++i) {
        if (!patterns[i]) continue;
        budget.checkTimeAndMemory();
        const auto scan = patterns[i]->allMatches(text);
        if (!scan.complete) throwUnreadableFile();
        if (scan.matches.empty()) continue;
        entries.push_back(
            pdfEntry(byteSignals[i].section, byteSignals[i].name, text::decimalText(scan.matches.size())));
    }
}

// Ids are unique within a report even when two attribute keys read the same once shortened. The
// entries are in report order by then, so a repeated id gets its number by its place there.
void makeIdsUnique(std::vector<FileMetadataEntry>& entries) {
    std::set<std::u16string> seen;
    for (auto& entry : entries) {
        const auto base = entry.id;
        for (std::size_t copy = 2; !seen.insert(entry.id).second; ++copy)
            entry.id = base + u"-" + text::decimalText(copy);
    }
}

}  // namespace

FileMetadataReport pdfReport(std::u16string fileName, QpdfDocument& document,
                             const std::optional<ByteView>& leadingBytes) {
    std::vector<FileMetadataEntry> entries;
    try {
        appendDocumentAttributes(document.pdf->getTrailer().getKey("/Info"), entries);
        for (auto information : document.olderInformation) appendDocumentAttributes(information, entries);
        appendAnnotations(*document.pdf, *document.budget, entries);
    } catch (const std::exception&) {
        throwUnreadableFile();
    }
    if (leadingBytes) appendByteSignals(*leadingBytes, *document.budget, entries);
    auto report = buildFileReport(
        std::move(fileName),
        {.typeDescription = u"PDF document", .byteCount = document.byteCount, .entries = std::move(entries)});
    makeIdsUnique(report.entries);
    return report;
}

}  // namespace velquor::files
