#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velquor::files {

class ZipArchive;
class ZipWriter;
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

// Adds the entries to `writer` in their order: a part found in `edited` with its new bytes
// (deflated), an embedded image or document through its own privacy copy, and every other
// entry as its compressed bytes, after a check that its declared sizes are plausible.
void writeKeptEntries(ZipWriter& writer, const ZipArchive& source, const std::vector<const ArchiveEntry*>& entries,
                      std::map<std::string, std::string>& edited, std::size_t depth);

}  // namespace velquor::files
