#pragma once

#include "core/text/base/RawValueTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::files {

// One row of a file report.
struct FileMetadataEntry {
    std::u16string id;       // unique within one report; identity only
    std::u16string section;  // "Location", "Capture" and "Description" are the personal sections
    std::u16string name;
    std::u16string value;

    friend bool operator==(const FileMetadataEntry&, const FileMetadataEntry&) = default;
};

enum class ProvenanceConfidence { confirmed, possible };

inline constexpr text::RawValueTable<ProvenanceConfidence, 2> provenanceConfidences{{{
    {ProvenanceConfidence::confirmed, u"confirmed"},
    {ProvenanceConfidence::possible, u"possible"},
}}};

inline std::u16string_view rawValue(ProvenanceConfidence confidence) {
    return provenanceConfidences.rawValue(confidence);
}

// One finding of content-provenance data.
struct ProvenanceEvidence {
    ProvenanceConfidence confidence;
    std::u16string label;
    std::u16string detail;
    bool blocksExport;  // the file stays inspect-only

    friend bool operator==(const ProvenanceEvidence&, const ProvenanceEvidence&) = default;
};

// The result of inspecting one file.
struct FileMetadataReport {
    std::u16string fileName;
    std::u16string typeDescription;
    std::int64_t byteCount = 0;
    std::optional<std::u16string> pixelSize;  // "4032 x 3024", images only
    bool hasContentCredentialsSignal = false;
    std::vector<FileMetadataEntry> entries;
    std::vector<ProvenanceEvidence> provenanceEvidence;

    bool containsLocation() const;
    bool containsPersonalMetadata() const;

    friend bool operator==(const FileMetadataReport&, const FileMetadataReport&) = default;
};

// A name without spaces and hyphens, lower-cased (ASCII letters only): "Embedded thumbnail"
// becomes "embeddedthumbnail".
std::u16string normalizedEntryName(std::u16string_view name);

// Whether a normalized name is one that marks an entry as personal wherever it is shown.
bool isPersonalEntryName(std::u16string_view normalizedName);

bool isPersonalSection(std::u16string_view section);

}  // namespace velquor::files
