#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velquor::files {

class ZipArchive;
struct ArchiveEntry;

// The privacy copy of a validated Office package, built in memory as a new archive: the private
// parts are left out; Word parts lose their revisions and comment anchors, relationship files
// their external and private relationships, [Content_Types].xml the overrides of what was left
// out, and every part the markup that referred to a removed relationship. Those parts are
// parsed, edited and deflated again; every other part is copied as its compressed bytes.
// Folder entries are dropped, and [Content_Types].xml comes first.
//
// A part to edit that is not well-formed XML, or a package left with nothing, is unreadableFile;
// a part whose size was declared falsely is archiveResourceLimitExceeded.
// Embedded images and documents are replaced by their own privacy copies; `depth` is how deep
// the package is embedded in others (0 for a file the user chose).
std::vector<std::uint8_t> cleanedPackage(const ZipArchive& source, const std::vector<ArchiveEntry>& entries,
                                         std::size_t depth = 0);

}  // namespace velquor::files
