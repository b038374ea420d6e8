#pragma once

#include "tests/support/OfficePackages.h"

#include <string>

namespace velquor::testing {

// OpenDocument and EPUB packages as the tools that write them lay them out, made at test time.

// The namespace declarations of an OpenDocument part.
extern const char* const openDocumentNamespaces;

// meta.xml naming two people, the dates, the editing statistics, LibreOffice as the generator,
// a title, keywords, a user-defined field and the document statistics.
std::string openDocumentMeta();

// settings.xml with a printer, its set-up, a data source, a path, and a layout setting.
std::string openDocumentSettings();

// The manifest listing `/` with `mediaType` and each of the parts.
std::string openDocumentManifest(const std::string& mediaType, const Parts& parts);

// A text as LibreOffice writes one with change recording on: an accepted-looking paragraph
// "Kept inserted text." whose "inserted" is a tracked insertion by Jane Roe, a tracked deletion
// "gone words" by John Doe, a tracked format change, and a comment by Jane Roe spanning "body".
Parts libreOfficeText();

// A spreadsheet whose cell "Total" carries a comment by Ann Lee, with a changed cell tracked.
Parts libreOfficeSpreadsheet();

// A presentation with a thumbnail, a slide comment (Impress's own element) and a macro bound
// to a shape, and the Basic library it calls.
Parts libreOfficePresentation();

// A drawing with a picture linked from the user's home folder and one stored in the package.
Parts libreOfficeDrawing(const std::string& pngPicture);

// The parts with the mimetype, the manifest, meta.xml and settings.xml of the given type added.
Parts withOpenDocumentFrame(Parts parts, const std::string& mediaType);

// An EPUB 2 book as calibre writes one: author, contributor, publisher, date, rights,
// description, calibre's identifier and metas, an ISBN, an NCX with its author, a cover picture
// `coverJpeg`, a chapter, and iTunes purchase data.
Parts calibreEpub2(const std::string& coverJpeg);

// An EPUB 3 book with a creator, a modification date (unless `withModified` is false), a
// navigation document and a font obfuscated with the IDPF algorithm under its identifier.
Parts epub3Book(bool withModified, const std::string& font);

// The IDPF obfuscation of `font` under `identifier` (its own inverse).
std::string idpfObfuscated(std::string font, const std::string& identifier);

// The book's unique identifier as written in its package document.
extern const char* const epub3Identifier;

}  // namespace velquor::testing
