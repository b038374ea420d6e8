#pragma once

#include "core/files/FileMetadataReport.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velquor::files {

// What a family found in one file. The builder adds what every report computes the same way.
struct ReportContents {
    std::u16string typeDescription;
    std::int64_t byteCount = 0;
    std::vector<FileMetadataEntry> entries = {};  // in any order
    std::optional<std::u16string> pixelSize = std::nullopt;
    std::vector<ProvenanceEvidence> provenanceEvidence = {};
};

// The name a report shows for a file: its last path component, read like metadata text, so
// that a name that is not UTF-8 keeps every byte.
std::u16string reportFileName(const std::filesystem::path& file);

// The report under the given name, its entries in report order (sections, then names for
// display, ties in the order found), with the content-credentials signal set when any evidence
// blocks export.
FileMetadataReport buildFileReport(std::u16string fileName, ReportContents contents);

}  // namespace velquor::files
