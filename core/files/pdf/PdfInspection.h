#pragma once

#include "core/files/FileBytes.h"
#include "core/files/FileMetadataReport.h"
#include "core/files/pdf/QpdfDocument.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velquor::files {

// The report of a PDF under the given name: the attributes of the document information and of
// the information older trailers name, the count and first texts of every annotation the
// document holds, and the byte signals of the given leading bytes (none when those could not be
// read), with unique ids. Throws unreadableFile when qpdf fails on the document's objects or a
// byte scan cannot finish in time, and PdfBudgetExceeded once the document's budget is spent.
FileMetadataReport pdfReport(std::u16string fileName, QpdfDocument& document,
                             const std::optional<ByteView>& leadingBytes);

// Only this many leading bytes of a file are scanned for byte signals.
inline constexpr std::size_t byteSignalLimit = 4'000'000;

}  // namespace velquor::files
