#include "core/files/pdf/QpdfDocument.h"

#include "core/files/FileSanitizerError.h"
#include "core/posix/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <exception>
#include <system_error>

namespace velquor::files {

namespace {

std::unique_ptr<QPDF> quietDocument() {
    auto pdf = std::make_unique<QPDF>();
    pdf->setSuppressWarnings(true);
    return pdf;
}

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

}  // namespace

QpdfDocument openQpdfFile(const std::filesystem::path& file, std::size_t leadingByteLimit) {
    posix::FileDescriptor opened(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (!opened.valid() || ::fstat(opened.get(), &status) != 0 || !S_ISREG(status.st_mode)) throwUnreadableFile();
    QpdfDocument document;
    document.byteCount = static_cast<std::int64_t>(status.st_size);
    document.leadingBytes = readLeadingBytes(
        opened.get(), std::min<std::uint64_t>(leadingByteLimit, static_cast<std::uint64_t>(status.st_size)));

    FILE* stream = ::fdopen(opened.get(), "rb");
    if (stream == nullptr) throwUnreadableFile();
    opened.release();  // the stream owns it now, and qpdf closes the stream with the document
    document.pdf = quietDocument();
    try {
        document.pdf->processFile(file.c_str(), stream, true);
    } catch (const std::exception&) {
        throwUnreadableFile();
    }
    return document;
}

std::unique_ptr<QPDF> openQpdfBytes(ByteView bytes) {
    auto pdf = quietDocument();
    try {
        pdf->processMemoryFile("PDF data", reinterpret_cast<const char*>(bytes.data()), bytes.size());
    } catch (const std::exception&) {
        throwUnreadableFile();
    }
    return pdf;
}

}  // namespace velquor::files
