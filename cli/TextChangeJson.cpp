#include "cli/TextChangeJson.h"

namespace velquor::cli {

namespace {

void writeSummary(JsonWriter& json, const text::TextChangeSummary& summary) {
    json.beginObject()
        .field("inputCharacters", summary.inputCharacters)
        .field("outputCharacters", summary.outputCharacters)
        .field("removedFormatControls", summary.removedFormatControls)
        .field("removedInvisibleScalars", summary.removedInvisibleScalars)
        .field("removedPrivateUseScalars", summary.removedPrivateUseScalars)
        .field("removedControlScalars", summary.removedControlScalars)
        .field("normalizedWhitespaceScalars", summary.normalizedWhitespaceScalars)
        .field("punctuationReplacementScalars", summary.punctuationReplacementScalars)
        .field("markdownArtifactsFlattened", summary.markdownArtifactsFlattened)
        .field("unwrappedLineBreaks", summary.unwrappedLineBreaks)
        .field("asciiReplacementScalars", summary.asciiReplacementScalars)
        .field("strippedURLTrackingParameters", summary.strippedURLTrackingParameters)
        .field("trimmedCharacters", summary.trimmedCharacters)
        .field("normalizedLineEndings", summary.normalizedLineEndings)
        .field("contentChanged", summary.contentChanged)
        .field("changed", summary.changed());
    json.key("rows").beginArray();
    for (const auto& row : summary.rows())
        json.beginObject().field("label", row.label).field("count", row.count).endObject();
    json.endArray();
    json.endObject();
}

void writeItem(JsonWriter& json, const text::TextChangeReviewItem& item) {
    json.beginObject()
        .field("category", text::rawValue(item.category))
        .field("id", text::rawValue(item.id()))
        .field("count", item.count);
    json.key("locations");
    writeLocations(json, item.locations);
    json.key("preview");
    if (item.preview) {
        json.beginObject().field("before", item.preview->before).field("after", item.preview->after).endObject();
    } else {
        json.nullValue();
    }
    json.endObject();
}

}  // namespace

void writeLocations(JsonWriter& json, const std::vector<text::TextLocation>& locations) {
    json.beginArray();
    for (const auto& location : locations) {
        json.beginObject()
            .field("utf16Location", location.utf16Location)
            .field("utf16Length", location.utf16Length)
            .endObject();
    }
    json.endArray();
}

void writeCleanResult(JsonWriter& json, const text::TextCleanResult& result) {
    json.beginObject().field("text", result.text);
    json.key("summary");
    writeSummary(json, result.summary);
    json.key("changedOutputOffsets").beginArray();
    for (const auto offset : result.changedOutputOffsets) json.value(offset);
    json.endArray();
    json.endObject();
}

void writeCleanResultJson(std::ostream& out, const text::TextCleanResult& result) {
    JsonWriter json(out);
    writeCleanResult(json, result);
    out << '\n';
}

void writeChangeReviewJson(std::ostream& out, const std::vector<text::TextChangeReviewItem>& items) {
    JsonWriter json(out);
    json.beginArray();
    for (const auto& item : items) writeItem(json, item);
    json.endArray();
    out << '\n';
}

}  // namespace velquor::cli
