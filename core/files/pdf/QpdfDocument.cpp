#include "core/files/pdf/QpdfDocument.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/pdf/BudgetedInputSource.h"
#include "core/files/pdf/PdfRevisions.h"
#include "core/posix/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <exception>
#include <string_view>
#include <system_error>

namespace velquor::files {

namespace {

// Read with pread, so that qpdf later starts from the beginning of the file.
std::optional<std::vector<std::uint8_t>> readLeadingBytes(int fd, std::size_t limit) {
    std::vector<std::uint8_t> bytes(limit);
    try {
        bytes.resize(posix::readFullyAt(fd, bytes, 0));
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    return bytes;
}

// Parses the file behind the source into the document under the budget, with the revisions'
// trailers read while the source is fresh.
void process(QpdfDocument& document, std::shared_ptr<InputSource> file, const PdfWorkBudget& budget) {
    document.pdf = std::make_unique<QPDF>();
    document.budget = &budget;
    document.pdf->setSuppressWarnings(true);
    const auto byteCount = static_cast<std::uint64_t>(document.byteCount);
    document.pdf->setAttemptRecovery(byteCount <= PdfBudget::rebuiltByteCount);
    const auto source = std::make_shared<BudgetedInputSource>(std::move(file), budget);
    try {
        document.pdf->processInputSource(source);
        budget.checkObjectCount(document.pdf->getXRefTable().size());
        document.olderInformation = olderInformationDictionaries(*document.pdf, source);
    } catch (const QPDFExc& error) {
        // Damage in a file too large for a rebuild is where qpdf would have rebuilt the table.
        if (error.getErrorCode() == qpdf_e_damaged_pdf) budget.checkRebuildSize(byteCount);
        throwUnreadableFile();
    } catch (const std::exception&) {
        throwUnreadableFile();
    }
}

}  // namespace

QpdfDocument openQpdfFile(const std::filesystem::path& file, std::size_t leadingByteLimit,
                          const PdfWorkBudget& budget) {
    posix::FileDescriptor opened(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (!opened.valid() || ::fstat(opened.get(), &status) != 0 || !S_ISREG(status.st_mode)) throwUnreadableFile();
    QpdfDocument document;
    document.byteCount = static_cast<std::int64_t>(status.st_size);
    document.leadingBytes = readLeadingBytes(
        opened.get(), std::min<std::uint64_t>(leadingByteLimit, static_cast<std::uint64_t>(status.st_size)));

    FILE* stream = ::fdopen(opened.get(), "rb");
    if (stream == nullptr) throwUnreadableFile();
    opened.release();  // the stream owns it now, and the source closes the stream with the document
    process(document, std::make_shared<FileInputSource>(file.c_str(), stream, true), budget);
    return document;
}

QpdfDocument openQpdfBytes(ByteView bytes, const PdfWorkBudget& budget) {
    QpdfDocument document;
    document.byteCount = static_cast<std::int64_t>(bytes.size());
    // The buffer only points at the bytes; the source owns the buffer, not the bytes.
    auto* buffer = new Buffer(const_cast<std::uint8_t*>(bytes.data()), bytes.size());
    process(document, std::make_shared<BufferInputSource>("PDF data", buffer, true), budget);
    return document;
}

bool structureIsTrusted(QpdfDocument& document) { return document.pdf->getTrailer().getKey("/Root").isDictionary(); }

}  // namespace velquor::files
