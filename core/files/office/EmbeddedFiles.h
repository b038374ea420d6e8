#pragma once

#include "core/files/FileMetadataReport.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::files {

class ZipArchive;
struct ArchiveEntry;

// Pictures and Office documents inside a package keep metadata of their own (a photo's GPS
// position and camera owner, an embedded workbook's author), which the package's own rules
// never see. Each is read in memory within the archive's limits and handled by its own family:
// images by the image inspector and its lossless privacy copy, Office documents by this one.

// The row for each embedded file that carries what its own privacy copy would remove: section
// "Embedded", name "Metadata in " and the part path, value the names of what it carries
// ("Unreadable file" when it claims to be one but cannot be read). A part in no format this
// build reads adds nothing. `depth` is how deep the package
// itself is embedded (0 for a file the user chose).
void appendEmbeddedFileSignals(std::vector<FileMetadataEntry>& entries, const ZipArchive& archive,
                               const std::vector<ArchiveEntry>& listing, std::size_t depth);

// The part cleaned by its own family, or nothing when it is no embedded image or document (or
// none this build reads), which is then copied as it is. An image with content credentials is
// contentCredentialsInspectOnly, like the image itself; one that cannot be copied faithfully
// fails the export.
std::optional<std::string> cleanedEmbeddedFile(const ZipArchive& archive, const ArchiveEntry& entry, std::size_t depth);

// Documents inside documents inside documents: deeper than this is archiveResourceLimitExceeded.
inline constexpr std::size_t deepestEmbedding = 3;

}  // namespace velquor::files
