#pragma once

#include "core/files/FileBytes.h"
#include "core/files/pdf/PdfBudget.h"

#include "core/files/pdf/QpdfHeaders.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace velquor::files {

// A PDF opened with qpdf: damaged files are recovered where qpdf can and the file is small
// enough for the rebuild (PdfBudget), warnings stay quiet, and anything qpdf cannot open, a file
// that needs a user password included, is unreadableFile. qpdf reads the file under the work
// budget, which must outlive the document; a document with more objects than the budget allows
// is refused before anything walks them.
struct QpdfDocument {
    std::unique_ptr<QPDF> pdf;
    const PdfWorkBudget* budget = nullptr;
    std::int64_t byteCount = 0;
    // The first bytes of the file, up to the given limit; nothing when they could not be read.
    std::optional<std::vector<std::uint8_t>> leadingBytes;
    // The information dictionaries only older trailers name (incremental updates).
    std::vector<QPDFObjectHandle> olderInformation;
};

// Only regular files are opened (a FIFO would block). The file stays open while the document
// lives, because qpdf reads objects as they are asked for.
QpdfDocument openQpdfFile(const std::filesystem::path& file, std::size_t leadingByteLimit, const PdfWorkBudget& budget);

// A PDF held in memory, without leading bytes; the bytes must outlive the document.
QpdfDocument openQpdfBytes(ByteView bytes, const PdfWorkBudget& budget);

// Whether the trailer names a catalog dictionary. A file whose cross-reference table qpdf had to
// rebuild is trusted: the rebuild finds every object in the file, the copy holds only what the
// catalog reaches, and every object written is verified. Without a catalog the copy cannot be
// known to keep the document.
bool structureIsTrusted(QpdfDocument& document);

}  // namespace velquor::files
