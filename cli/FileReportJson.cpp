#include "cli/FileReportJson.h"

#include "cli/JsonWriter.h"

namespace velquor::cli {

void writeFileReportJson(std::ostream& out, const files::FileMetadataReport& report) {
    JsonWriter json(out);
    json.beginObject()
        .field("fileName", report.fileName)
        .field("typeDescription", report.typeDescription)
        .field("byteCount", report.byteCount);
    json.key("pixelSize");
    if (report.pixelSize) {
        json.value(*report.pixelSize);
    } else {
        json.nullValue();
    }
    json.field("hasContentCredentialsSignal", report.hasContentCredentialsSignal);
    json.key("entries").beginArray();
    for (const auto& entry : report.entries) {
        json.beginObject()
            .field("id", entry.id)
            .field("section", entry.section)
            .field("name", entry.name)
            .field("value", entry.value)
            .endObject();
    }
    json.endArray();
    json.key("provenanceEvidence").beginArray();
    for (const auto& evidence : report.provenanceEvidence) {
        json.beginObject()
            .field("confidence", files::rawValue(evidence.confidence))
            .field("label", evidence.label)
            .field("detail", evidence.detail)
            .field("blocksExport", evidence.blocksExport)
            .endObject();
    }
    json.endArray();
    json.field("containsLocation", report.containsLocation())
        .field("containsPersonalMetadata", report.containsPersonalMetadata());
    json.endObject();
    out << '\n';
}

}  // namespace velquor::cli
