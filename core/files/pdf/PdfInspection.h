#pragma once

#include "core/files/FileBytes.h"
#include "core/files/FileMetadataReport.h"

#include <cstdint>
#include <optional>
#include <string>

class QPDF;

namespace velquor::files {

// The report of a PDF under the given name and size: the document information attributes, the
// annotation count and first texts, and the byte signals of the file's leading bytes (none when
// those could not be read), with unique ids. Throws unreadableFile when qpdf fails on the
// document's objects or a byte scan cannot finish in time.
FileMetadataReport pdfReport(std::u16string fileName, std::int64_t byteCount, QPDF& pdf,
                             const std::optional<ByteView>& leadingBytes);

// Only this many leading bytes of a file are scanned for byte signals.
inline constexpr std::size_t byteSignalLimit = 4'000'000;

}  // namespace velquor::files
