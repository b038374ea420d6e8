#pragma once

#include "core/files/FileMetadataReport.h"

#include <string>
#include <vector>

namespace velquor::files {

class OpenArchive;

// The rows an Office or iWork archive yields, from its validated entry names and the few parts
// read one by one (never unpacked to disk), in the order they are found; the caller sorts them.
std::vector<FileMetadataEntry> officeArchiveEntries(const OpenArchive& archive, const std::vector<std::string>& names);

// The entry rows that depend on names alone (part presence, embedded content, iWork parts).
void appendPartPresence(std::vector<FileMetadataEntry>& entries, const std::vector<std::string>& names);
void appendEmbeddedObjectSignals(std::vector<FileMetadataEntry>& entries, const std::vector<std::string>& names);
void appendIWorkSignals(std::vector<FileMetadataEntry>& entries, const std::vector<std::string>& names);

// The number of comments in one comment part: elements named "comment" (Word, Excel) or "cm"
// (PowerPoint) in any namespace prefix; the comment list roots are not comments.
std::size_t commentCount(std::u16string_view part);

}  // namespace velquor::files
