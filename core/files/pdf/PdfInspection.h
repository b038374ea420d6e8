#pragma once

#include "core/files/FileBytes.h"
#include "core/files/FileMetadataReport.h"

#include <optional>
#include <vector>

class QPDF;

namespace velquor::files {

// The entries of a PDF's report, sorted: the document information attributes, the annotation
// count and first texts, and the byte signals of the file's leading bytes (none when those
// could not be read). Throws unreadableFile when qpdf fails on the document's objects or a byte
// scan cannot finish in time.
std::vector<FileMetadataEntry> pdfEntries(QPDF& pdf, const std::optional<ByteView>& leadingBytes);

// Only this many leading bytes of a file are scanned for byte signals.
inline constexpr std::size_t byteSignalLimit = 4'000'000;

}  // namespace velquor::files
