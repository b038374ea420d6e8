#include "core/files/office/ZipArchive.h"

#include "core/files/FileSanitizerError.h"
#include "core/posix/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <zip.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <new>
#include <system_error>
#include <utility>

namespace velquor::files {

namespace {

[[noreturn]] void fail(FileSanitizerError::Case errorCase) { throw FileSanitizerError(errorCase); }

// Headers that contradict one another are how an archive shows one reader other entries than
// the next; everything else libzip refuses is simply no readable archive.
[[noreturn]] void failOpening(int libzipError) {
    if (libzipError == ZIP_ER_MEMORY) throw std::bad_alloc();
    if (libzipError == ZIP_ER_INCONS) fail(FileSanitizerError::Case::unsafeArchiveEntry);
    throwUnreadableFile();
}

[[noreturn]] void failReading(int libzipError) {
    if (libzipError == ZIP_ER_MEMORY) throw std::bad_alloc();
    throwUnreadableFile();
}

constexpr int openFlags = ZIP_RDONLY | ZIP_CHECKCONS;

bool isSymbolicLink(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0) throwUnreadableFile();
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

ArchiveEntry entryAt(zip_t* archive, zip_uint64_t index) {
    zip_stat_t status;
    zip_stat_init(&status);
    if (zip_stat_index(archive, index, 0, &status) != 0) failReading(zip_error_code_zip(zip_get_error(archive)));
    constexpr auto needed = ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD;
    if ((status.valid & needed) != needed) throwUnreadableFile();
    // An encrypted entry cannot be read without a password, and none is ever asked for.
    if ((status.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && status.encryption_method != ZIP_EM_NONE) {
        throwUnreadableFile();
    }
    return {.index = index,
            .name = status.name,
            .declaredSize = status.size,
            .compressedSize = status.comp_size,
            .compressionMethod = status.comp_method,
            .symbolicLink = isSymbolicLink(archive, index)};
}

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

}  // namespace

ZipArchive::ZipArchive(zip* archive, std::uint64_t byteCount, std::unique_ptr<std::string> bytes)
    : archive_(archive), byteCount_(byteCount), bytes_(std::move(bytes)) {}

ZipArchive::~ZipArchive() {
    if (archive_ != nullptr) zip_discard(archive_);
}

ZipArchive::ZipArchive(ZipArchive&& other) noexcept
    : archive_(std::exchange(other.archive_, nullptr)), byteCount_(other.byteCount_), bytes_(std::move(other.bytes_)) {}

ZipArchive ZipArchive::open(const std::filesystem::path& file) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    posix::FileDescriptor descriptor(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!descriptor.valid()) throw std::system_error(errno, std::generic_category(), file.string());
    struct stat status {};
    if (::fstat(descriptor.get(), &status) != 0) throw std::system_error(errno, std::generic_category(), file.string());
    if (!S_ISREG(status.st_mode)) throwUnreadableFile();
    const auto byteCount = static_cast<std::uint64_t>(status.st_size);
    if (byteCount > ArchiveLimits::archiveBytes) fail(FileSanitizerError::Case::archiveResourceLimitExceeded);
    const int flags = ::fcntl(descriptor.get(), F_GETFL);
    if (flags < 0 || ::fcntl(descriptor.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        throw std::system_error(errno, std::generic_category(), file.string());
    }
    int error = ZIP_ER_OK;
    // On success libzip owns the descriptor and closes it with the archive.
    auto* archive = zip_fdopen(descriptor.get(), openFlags, &error);
    if (archive == nullptr) failOpening(error);
    descriptor.release();
    return ZipArchive(archive, byteCount, nullptr);
}

ZipArchive ZipArchive::fromBytes(std::string bytes) {
    if (bytes.size() > ArchiveLimits::archiveBytes) fail(FileSanitizerError::Case::archiveResourceLimitExceeded);
    auto held = std::make_unique<std::string>(std::move(bytes));
    zip_error_t error;
    zip_error_init(&error);
    auto* source = zip_source_buffer_create(held->data(), held->size(), 0, &error);
    if (source == nullptr) failOpening(zip_error_code_zip(&error));
    auto* archive = zip_open_from_source(source, openFlags, &error);
    if (archive == nullptr) {
        zip_source_free(source);
        const int code = zip_error_code_zip(&error);
        zip_error_fini(&error);
        failOpening(code);
    }
    zip_error_fini(&error);
    const auto byteCount = static_cast<std::uint64_t>(held->size());
    return ZipArchive(archive, byteCount, std::move(held));
}

std::vector<ArchiveEntry> ZipArchive::listEntries() const {
    const auto count = zip_get_num_entries(archive_, 0);
    if (count < 0) throwUnreadableFile();
    if (static_cast<std::uint64_t>(count) > ArchiveLimits::entryCount) {
        fail(FileSanitizerError::Case::archiveResourceLimitExceeded);
    }
    std::vector<ArchiveEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    std::uint64_t nameBytes = 0;
    std::uint64_t listingBytes = 0;
    for (zip_uint64_t index = 0; index < static_cast<zip_uint64_t>(count); ++index) {
        auto entry = entryAt(archive_, index);
        nameBytes += entry.name.size() + 1;
        listingBytes += entry.name.size() + sizeof(ArchiveEntry);
        if (nameBytes > ArchiveLimits::nameListingBytes || listingBytes > ArchiveLimits::longListingBytes) {
            fail(FileSanitizerError::Case::archiveResourceLimitExceeded);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

void ZipArchive::read(const ArchiveEntry& entry, std::uint64_t maximumBytes,
                      const std::function<void(std::string_view chunk)>& consume) const {
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive_, entry.index, 0));
    if (!file) failReading(zip_error_code_zip(zip_get_error(archive_)));
    std::array<char, 1 << 16> buffer{};
    std::uint64_t inflated = 0;
    while (inflated < maximumBytes) {
        const auto got = zip_fread(file.get(), buffer.data(), buffer.size());
        if (got < 0) failReading(zip_error_code_zip(zip_file_get_error(file.get())));
        if (got == 0) return;
        inflated += static_cast<std::uint64_t>(got);
        if (inflated > entry.declaredSize) fail(FileSanitizerError::Case::archiveResourceLimitExceeded);
        const auto wanted = std::min<std::uint64_t>(static_cast<std::uint64_t>(got),
                                                    maximumBytes - (inflated - static_cast<std::uint64_t>(got)));
        consume(std::string_view(buffer.data(), static_cast<std::size_t>(wanted)));
    }
}

std::string ZipArchive::readPart(const ArchiveEntry& entry, std::uint64_t maximumBytes) const {
    std::string bytes;
    // The declared size is only a hint until the bytes arrive.
    constexpr std::uint64_t reservedAtMost = 1 << 24;
    bytes.reserve(static_cast<std::size_t>(std::min({entry.declaredSize, maximumBytes, reservedAtMost})));
    read(entry, maximumBytes, [&](std::string_view chunk) { bytes.append(chunk); });
    return bytes;
}

}  // namespace velquor::files
