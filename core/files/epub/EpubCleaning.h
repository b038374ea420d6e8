#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velquor::files {

class ZipArchive;
struct ArchiveEntry;

// The privacy copy of a validated EPUB book, built in memory: the package document's metadata
// and the NCX reduced (reducePackageMetadata, reduceNcx) around `freshIdentifier`, obfuscated
// fonts obfuscated again with its key, a reading app's data about its user left out, pictures
// through their own privacy copy, and every other part (the content documents among them)
// copied as its compressed bytes. The mimetype entry comes first, stored.
//
// A book with protected content (DRM), or whose package document, NCX or encryption part is
// not well-formed XML, is unreadableFile.
std::vector<std::uint8_t> cleanedEpub(const ZipArchive& source, const std::vector<ArchiveEntry>& entries,
                                      const std::string& freshIdentifier);

}  // namespace velquor::files
