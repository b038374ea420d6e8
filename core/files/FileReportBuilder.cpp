#include "core/files/FileReportBuilder.h"

#include "core/files/EntryOrder.h"
#include "core/files/MetadataText.h"

#include <algorithm>

namespace velquor::files {

std::u16string reportFileName(const std::filesystem::path& file) { return metadataText(file.filename().string()); }

FileMetadataReport buildFileReport(std::u16string fileName, ReportContents contents) {
    sortEntries(contents.entries);
    const bool blocksExport = std::any_of(contents.provenanceEvidence.begin(), contents.provenanceEvidence.end(),
                                          [](const ProvenanceEvidence& evidence) { return evidence.blocksExport; });
    return {
        .fileName = std::move(fileName),
        .typeDescription = std::move(contents.typeDescription),
        .byteCount = contents.byteCount,
        .pixelSize = std::move(contents.pixelSize),
        .hasContentCredentialsSignal = blocksExport,
        .entries = std::move(contents.entries),
        .provenanceEvidence = std::move(contents.provenanceEvidence),
    };
}

}  // namespace velquor::files
