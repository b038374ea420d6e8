#pragma once

#include "core/files/office/XmlDocument.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::files {

class ZipArchive;
struct ArchiveEntry;

inline constexpr std::string_view epubContainerPart = "META-INF/container.xml";
inline constexpr std::string_view epubEncryptionPart = "META-INF/encryption.xml";

// The package document's path, as the container names it: the first rootfile of the package
// media type (or the first rootfile at all). A book without a container, without a rootfile or
// whose rootfile is no entry of the archive is unreadableFile.
std::string packageDocumentPath(const ZipArchive& archive, const std::vector<ArchiveEntry>& entries);

// The folder a package path is in, with its final "/" ("" at the top).
std::string folderOf(std::string_view path);

// A reference of the package document as an archive path: percent-escapes decoded, "." and ".."
// resolved against `folder`; nothing when it has a scheme, is absolute, or climbs out of the
// archive.
std::optional<std::string> resolvedReference(std::string_view folder, std::string_view href);

// The package document's own metadata element (a child of its root); null when there is none.
XmlDocument::Node packageMetadata(const XmlDocument& package);

// What the package says about the book, entry by entry: the children of its own metadata
// element (with those of the old dc-metadata and x-metadata wrappers), then every Dublin Core
// element anywhere else. Entries are found by where they are, whatever their namespace, so
// that none can hide behind an unexpected one.
std::vector<XmlDocument::Node> metadataEntries(const XmlDocument& package);

// Whether an element is in the Dublin Core namespace.
bool isDublinCore(XmlDocument::Node element);

// The package's unique identifier element (the dc:identifier the package's unique-identifier
// names, else the first one); null when there is none.
XmlDocument::Node uniqueIdentifierElement(const XmlDocument& package);

// The archive paths of the NCX table of contents and of the cover image, when the package
// document names them (a manifest item of the NCX media type or the spine's toc; the
// "cover-image" item, else the item an EPUB 2 "cover" meta names).
std::optional<std::string> ncxPath(const XmlDocument& package, std::string_view folder);
std::optional<std::string> coverImagePath(const XmlDocument& package, std::string_view folder);

// Whether the package document is EPUB 3, which requires a dcterms:modified date.
bool isEpub3(const XmlDocument& package);

// Whether an identifier is an ISBN-10 or ISBN-13 with a valid check digit, bare or as
// "urn:isbn:" or "isbn:", with or without hyphens and spaces: the book's public number.
bool isIsbn(std::string_view identifier);

std::string trimmedText(std::string_view text);

}  // namespace velquor::files
