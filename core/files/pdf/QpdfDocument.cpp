#include "core/files/pdf/QpdfDocument.h"

#include "core/files/FileSanitizerError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>

namespace velquor::files {

namespace {

[[noreturn]] void throwUnreadable() { throw FileSanitizerError(FileSanitizerError::Case::unreadableFile); }

std::unique_ptr<QPDF> quietDocument() {
    auto pdf = std::make_unique<QPDF>();
    pdf->setSuppressWarnings(true);
    return pdf;
}

std::optional<std::vector<std::uint8_t>> readLeadingBytes(int fd, std::size_t limit) {
    std::vector<std::uint8_t> bytes(limit);
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const auto got = ::pread(fd, bytes.data() + filled, bytes.size() - filled, static_cast<off_t>(filled));
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace

QpdfDocument openQpdfFile(const std::filesystem::path& file, std::size_t leadingByteLimit) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throwUnreadable();
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        throwUnreadable();
    }
    QpdfDocument document;
    document.byteCount = static_cast<std::int64_t>(status.st_size);
    document.leadingBytes = readLeadingBytes(fd, std::min<std::uint64_t>(leadingByteLimit, status.st_size));

    FILE* stream = ::fdopen(fd, "rb");
    if (stream == nullptr) {
        ::close(fd);
        throwUnreadable();
    }
    document.pdf = quietDocument();
    try {
        document.pdf->processFile(file.c_str(), stream, true);
    } catch (const std::exception&) {
        throwUnreadable();
    }
    return document;
}

std::unique_ptr<QPDF> openQpdfBytes(ByteView bytes) {
    auto pdf = quietDocument();
    try {
        pdf->processMemoryFile("PDF data", reinterpret_cast<const char*>(bytes.data()), bytes.size());
    } catch (const std::exception&) {
        throwUnreadable();
    }
    return pdf;
}

}  // namespace velquor::files
