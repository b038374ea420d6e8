#pragma once

#include "core/files/office/XmlDocument.h"

#include <string_view>

namespace velquor::files {

// Reduces a package document's metadata to what a reading system needs and nothing that links
// the copy to its source or its makers: the titles and languages stay, the unique identifier
// takes `freshIdentifier`, other identifiers stay only when they are ISBNs, an EPUB 3 book gets
// (or keeps) one dcterms:modified of fixedModificationDate, the EPUB 2 cover meta stays, and
// every other Dublin Core element, meta and metadata link goes. A package without a title is
// unreadableFile.
void reducePackageMetadata(XmlDocument& package, std::string_view freshIdentifier);

// The NCX loses its authors and the head entries of the tools that wrote it; its dtb:uid takes
// the fresh identifier, which must match the package's.
void reduceNcx(XmlDocument& ncx, std::string_view freshIdentifier);

}  // namespace velquor::files
