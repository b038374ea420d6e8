#include "cli/TextReportJson.h"

#include "cli/JsonWriter.h"
#include "cli/TextChangeJson.h"

namespace velquor::cli {

namespace {

void writeStrings(JsonWriter& json, const std::vector<std::u16string>& strings) {
    json.beginArray();
    for (const auto& string : strings) json.value(string);
    json.endArray();
}

void writeFinding(JsonWriter& json, const text::PrivacyFinding& finding) {
    json.beginObject()
        .field("id", finding.id)
        .field("label", finding.label)
        .field("severity", text::rawValue(finding.severity))
        .field("count", finding.count);
    json.key("examples");
    writeStrings(json, finding.examples);
    json.field("rationale", finding.rationale);
    json.key("locations");
    writeLocations(json, finding.locations);
    json.endObject();
}

void writeSignal(JsonWriter& json, const text::StyleSignal& signal) {
    json.beginObject()
        .field("id", signal.id)
        .field("label", signal.label)
        .field("count", signal.count)
        .field("ratePer100Words", signal.ratePer100Words);
    json.key("examples");
    writeStrings(json, signal.examples);
    json.field("rationale", signal.rationale)
        .field("falsePositive", signal.falsePositive)
        .field("suggestion", signal.suggestion);
    json.key("locations");
    writeLocations(json, signal.locations);
    json.endObject();
}

// The ranked lists name their signals by id rather than repeating them.
void writeSignalIds(JsonWriter& json, const std::vector<text::StyleSignal>& signals) {
    json.beginArray();
    for (const auto& signal : signals) json.value(signal.id);
    json.endArray();
}

void writeStyleReport(JsonWriter& json, const text::StyleReport& report) {
    json.beginObject()
        .field("level", text::rawValue(report.level))
        .field("score", report.score)
        .field("wordCount", report.wordCount);
    json.key("signals").beginArray();
    for (const auto& signal : report.signals) writeSignal(json, signal);
    json.endArray();
    json.field("hasSignals", report.hasSignals());
    json.key("rankedSignals");
    writeSignalIds(json, report.rankedSignals());
    json.key("topContributors");
    writeSignalIds(json, report.topContributors());
    json.endObject();
}

void writeIssue(JsonWriter& json, const text::TextIssue& issue) {
    json.beginObject()
        .field("id", issue.id)
        .field("kind", text::rawValue(issue.kind))
        .field("scalar", issue.scalar)
        .field("codePoint", issue.codePoint)
        .field("count", issue.count);
    json.key("locations");
    writeLocations(json, issue.locations);
    json.endObject();
}

void writePayload(JsonWriter& json, const text::HiddenTextPayload& payload) {
    json.beginObject()
        .field("id", payload.id)
        .field("kind", text::rawValue(payload.kind))
        .field("decodedText", payload.decodedText)
        .field("byteCount", payload.byteCount)
        .endObject();
}

void writePrivacyReport(JsonWriter& json, const text::TextPrivacyReport& report) {
    json.beginObject();
    json.key("findings").beginArray();
    for (const auto& finding : report.findings) writeFinding(json, finding);
    json.endArray();
    json.field("hasFindings", report.hasFindings()).field("highRiskCount", report.highRiskCount());
    json.endObject();
}

}  // namespace

void writeTextReport(JsonWriter& json, const text::TextReport& report) {
    json.beginObject()
        .field("characters", report.characters)
        .field("scalars", report.scalars)
        .field("asciiScalars", report.asciiScalars)
        .field("nonASCIICount", report.nonASCIICount())
        .field("hasIssues", report.hasIssues());
    json.key("issues").beginArray();
    for (const auto& issue : report.issues) writeIssue(json, issue);
    json.endArray();
    json.key("hiddenPayloads").beginArray();
    for (const auto& payload : report.hiddenPayloads) writePayload(json, payload);
    json.endArray();
    json.key("styleReport");
    writeStyleReport(json, report.styleReport);
    json.key("privacyReport");
    writePrivacyReport(json, report.privacyReport);
    json.key("timedOutScans");
    writeStrings(json, report.timedOutScans);
    json.endObject();
}

void writeTextReportJson(std::ostream& out, const text::TextReport& report) {
    JsonWriter json(out);
    writeTextReport(json, report);
    out << '\n';
}

}  // namespace velquor::cli
