#pragma once

#include "core/files/FileMetadataReport.h"

#include <string_view>
#include <vector>

namespace velquor::files {

class ZipArchive;
struct ArchiveEntry;

// The rows of an EPUB book: the package document's metadata (every Dublin Core element, with
// identifiers that are not an ISBN apart from the ISBNs, and every meta element, such as an
// authoring tool's), the modification date, the NCX author and its extra head entries, the
// cover as a preview, the parts that store a reading app's data about its user, encrypted parts
// and the pictures that carry metadata of their own.
std::vector<FileMetadataEntry> epubEntries(const ZipArchive& archive, const std::vector<ArchiveEntry>& listing);

// Whether an entry only carries a reading app's data about its user (its purchase record, the
// reader's bookmarks): a privacy copy leaves it out.
bool isPrivateEpubPart(std::string_view name);

// The modification date every copy of an EPUB 3 book carries.
inline constexpr std::string_view fixedModificationDate = "1980-01-01T00:00:00Z";

// Whether a row is something a privacy copy may not keep: anything but the title, the book
// identifier (which the copy replaces; its exporter checks the value), the language, ISBNs, the
// cover, a modification date of fixedModificationDate, and embedded pictures without metadata.
bool isEpubResidue(const FileMetadataEntry& entry);

}  // namespace velquor::files
