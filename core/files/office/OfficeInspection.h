#pragma once

#include "core/files/FileMetadataReport.h"

#include <string>
#include <string_view>
#include <vector>

namespace velquor::files {

class ZipArchive;
struct ArchiveEntry;

// The rows an Office or iWork archive yields, from its validated listing and the parts read one
// by one in memory (the properties up to the part read cap, the Word parts that carry
// revisions, the comment parts and the embedded images and documents in full), in the order
// they are found; the caller sorts them.
// `depth` is how deep the package is embedded in others (0 for a file the user chose).
std::vector<FileMetadataEntry> officeArchiveEntries(const ZipArchive& archive, const std::vector<ArchiveEntry>& listing,
                                                    std::size_t depth = 0);

// A row whose id is its section, its name and the hash of its value, as every archive row has.
void appendArchiveRow(std::vector<FileMetadataEntry>& entries, std::u16string_view section, std::u16string_view name,
                      std::u16string value);

// The rows without those whose id (so section, name and value) an earlier row has already.
std::vector<FileMetadataEntry> withoutRepeatedRows(std::vector<FileMetadataEntry> entries);

// The entry rows that depend on names alone (part presence, embedded content, iWork parts).
void appendPartPresence(std::vector<FileMetadataEntry>& entries, const std::vector<std::string>& names);
void appendEmbeddedObjectSignals(std::vector<FileMetadataEntry>& entries, const std::vector<std::string>& names);
void appendIWorkSignals(std::vector<FileMetadataEntry>& entries, const std::vector<std::string>& names);

}  // namespace velquor::files
