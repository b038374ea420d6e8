#pragma once

#include "core/files/FileMetadataReport.h"

#include "core/files/pdf/QpdfHeaders.h"

#include <string>
#include <string_view>
#include <vector>

namespace velquor::files {

// An entry whose id is its section, its name and a hash of its value.
FileMetadataEntry pdfEntry(std::u16string_view section, std::u16string_view name, std::u16string_view value);

// A PDF text string (PDFDocEncoding, or UTF-16 or UTF-8 after a byte-order mark) as UTF-16.
std::u16string pdfTextString(QPDFObjectHandle string);

// The value of a document information attribute as shown in a report: text as itself, the two
// dates in ISO 8601 UTC, numbers in decimal, anything else in PDF syntax; empty for null.
std::u16string renderedAttribute(std::string_view key, QPDFObjectHandle value);

// The attribute's name in a report: the key without its slash, and without the platform words
// "PDFDocument", "Attribute" and "Key" where they stand as words of the name ("Keywords" stays).
std::u16string attributeName(std::string_view key);

// One entry per attribute of an information dictionary with a non-empty rendering: section
// "Description" for the personal names (Title, Author, Creator...), else "PDF". Nothing for
// anything but a dictionary.
void appendDocumentAttributes(QPDFObjectHandle information, std::vector<FileMetadataEntry>& entries);

}  // namespace velquor::files
