#include "cli/RewriteComparisonOutput.h"

#include "cli/JsonWriter.h"
#include "cli/TerminalText.h"
#include "cli/TextChangeJson.h"
#include "cli/TextReportJson.h"
#include "cli/TextReportPrinter.h"

#include "core/text/base/Utf.h"

#include <string>

namespace velquor::cli {

namespace {

void printAnchors(std::ostream& out, const std::vector<text::RewriteAnchorChange>& changes) {
    if (changes.empty()) {
        out << "No anchor changes.\n";
        return;
    }
    out << "Anchor changes:\n";
    const auto printList = [&out](std::string_view heading, const std::vector<std::u16string>& anchors) {
        for (const auto& anchor : anchors) out << "    " << heading << ' ' << terminalSafe(anchor) << '\n';
    };
    for (const auto& change : changes) {
        out << "  " << text::encodeUtf8(change.category) << '\n';
        printList("removed:", change.removed);
        printList("added:  ", change.added);
    }
}

void printWarnings(std::ostream& out, const std::vector<std::u16string>& warnings) {
    if (warnings.empty()) {
        out << "No warnings.\n";
        return;
    }
    out << "Warnings:\n";
    for (const auto& warning : warnings) out << "  " << text::encodeUtf8(warning) << '\n';
}

void printHygiene(std::ostream& out, const text::TextCleanResult& cleanup) {
    const auto rows = cleanup.summary.displayedRows();
    if (rows.empty()) {
        out << "A hygiene cleaning would change nothing in the rewrite.\n";
        return;
    }
    out << "A hygiene cleaning would still change in the rewrite:\n";
    for (const auto& row : rows) out << "  " << text::encodeUtf8(row.label) << ": " << row.count << '\n';
}

void printTimedOutScans(std::ostream& out, const std::vector<std::u16string>& scans) {
    if (scans.empty()) return;
    out << "\nWarning: these comparison scans ran out of time, so their results may be incomplete:\n";
    for (const auto& scan : scans) out << "  " << text::encodeUtf8(scan) << '\n';
}

void writeStrings(JsonWriter& json, const std::vector<std::u16string>& strings) {
    json.beginArray();
    for (const auto& string : strings) json.value(string);
    json.endArray();
}

void writeAnchorChange(JsonWriter& json, const text::RewriteAnchorChange& change) {
    json.beginObject().field("id", change.id).field("category", change.category);
    json.key("removed");
    writeStrings(json, change.removed);
    json.key("added");
    writeStrings(json, change.added);
    json.endObject();
}

}  // namespace

void printRewriteComparison(std::ostream& out, const text::RewriteComparisonReport& report) {
    out << "Words: " << report.originalWordCount << " -> " << report.rewrittenWordCount
        << "   Paragraphs: " << report.originalParagraphCount << " -> " << report.rewrittenParagraphCount << "\n\n";
    printAnchors(out, report.anchorChanges);
    printWarnings(out, report.warnings);
    printHygiene(out, report.hygieneCleanup);
    out << "Word diff: " << report.textDiff.removed.size() << " removed and " << report.textDiff.added.size()
        << " added tokens.\n";
    out << "Anchor checks point at concrete differences; they do not prove semantic equivalence.\n";
    printTimedOutScans(out, report.timedOutScans);
    out << "\nThe rewrite itself:\n";
    printTextReport(out, report.rewrittenReport);
}

void writeRewriteComparisonJson(std::ostream& out, const text::RewriteComparisonReport& report) {
    JsonWriter json(out);
    json.beginObject()
        .field("rewrittenText", report.rewrittenText)
        .field("originalWordCount", report.originalWordCount)
        .field("rewrittenWordCount", report.rewrittenWordCount)
        .field("originalParagraphCount", report.originalParagraphCount)
        .field("rewrittenParagraphCount", report.rewrittenParagraphCount);
    json.key("anchorChanges").beginArray();
    for (const auto& change : report.anchorChanges) writeAnchorChange(json, change);
    json.endArray();
    json.key("warnings");
    writeStrings(json, report.warnings);
    json.key("rewrittenReport");
    writeTextReport(json, report.rewrittenReport);
    json.key("hygieneCleanup");
    writeCleanResult(json, report.hygieneCleanup);
    json.key("textDiff").beginObject();
    json.key("removed");
    writeLocations(json, report.textDiff.removed);
    json.key("added");
    writeLocations(json, report.textDiff.added);
    json.endObject();
    json.key("timedOutScans");
    writeStrings(json, report.timedOutScans);
    json.field("hasConcerns", report.hasConcerns());
    json.endObject();
    out << '\n';
}

}  // namespace velquor::cli
