#pragma once

#include "core/files/FileMetadataReport.h"

#include <string_view>
#include <vector>

namespace velquor::files {

class ZipArchive;
struct ArchiveEntry;

// The rows an OpenDocument package yields, from its validated listing and its XML parts read
// in full and parsed: the document properties of meta.xml (with those of embedded objects),
// the thumbnail, tracked changes with their authors, comments with their authors and dates,
// personal settings, links to content outside the package, macros and their bindings, a
// digital signature, the pictures and objects inside, and the type the mimetype entry names.
// A content, styles, settings or manifest part that is not well-formed XML is unreadableFile,
// as it is for the copy; a meta.xml that cannot be read only loses its values.
std::vector<FileMetadataEntry> openDocumentEntries(const ZipArchive& archive, const std::vector<ArchiveEntry>& listing);

// Whether an entry only carries what a privacy copy leaves out: document properties (meta.xml,
// at any depth), thumbnails, macros and the macros' signature. Letter case does not matter.
bool isPrivateOpenDocumentPart(std::string_view name);

// The signature of the whole document, which any change breaks.
inline constexpr std::string_view documentSignaturesPart = "META-INF/documentsignatures.xml";
inline constexpr std::string_view manifestPart = "META-INF/manifest.xml";
inline constexpr std::string_view mimetypePart = "mimetype";

// The XML parts by role, at the top of the package or in an embedded object's folder.
bool isDocumentBodyPart(std::string_view name);  // content.xml and styles.xml
bool isSettingsPart(std::string_view name);

class XmlDocument;

// Whether the manifest lists encrypted parts: a password-protected document, which is
// unreadableFile to inspection and copy alike.
bool isEncryptedPackage(const XmlDocument& manifest);

// Whether the row of an OpenDocument report is something a privacy copy may not keep: anything
// but the type, the statistics, the language, the name fields of the visible text and the counts
// of embedded pictures and objects.
bool isOpenDocumentResidue(const FileMetadataEntry& entry);

}  // namespace velquor::files
