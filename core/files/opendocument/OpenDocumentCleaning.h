#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace velquor::files {

class ZipArchive;
class XmlDocument;
struct ArchiveEntry;

// The privacy copy of a validated OpenDocument package, built in memory: document properties,
// thumbnails, macros and their signature are left out and dropped from the manifest; content
// and styles parts (the document's and each embedded object's) have their tracked changes
// accepted and lose comments, external links and macro bindings; settings lose the printer,
// data sources and paths. Pictures and embedded documents go through their own privacy copy;
// every other part is copied as its compressed bytes. The mimetype entry comes first, stored,
// as readers require; entry times and extra fields are those of every copy (ZipWriter).
//
// A signed document is signedDocument; a password-protected one, or a part to edit that is not
// well-formed XML, unreadableFile.
std::vector<std::uint8_t> cleanedOpenDocument(const ZipArchive& source, const std::vector<ArchiveEntry>& entries);

// Removes the manifest's file entries of the parts that were left out (and of their folders).
void removeManifestEntries(XmlDocument& manifest, const std::set<std::string>& removedParts);

}  // namespace velquor::files
