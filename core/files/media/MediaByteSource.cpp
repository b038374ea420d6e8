#include "core/files/media/MediaByteSource.h"

#include "core/files/FileSanitizerError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace velquor::files {

namespace {

class FileSource final : public MediaByteSource {
public:
    FileSource(int fd, std::int64_t size) : MediaByteSource(size), fd_(fd) {}
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::int64_t readAt(std::int64_t offset, std::span<std::uint8_t> buffer) override {
        if (offset < 0 || offset >= size()) return 0;
        const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(size() - offset, buffer.size()));
        for (;;) {
            const auto got = ::pread(fd_, buffer.data(), wanted, offset);
            if (got >= 0) return got;
            if (errno != EINTR) return -errno;
        }
    }

private:
    int fd_;
};

class MemorySource final : public MediaByteSource {
public:
    explicit MemorySource(ByteView bytes) : MediaByteSource(static_cast<std::int64_t>(bytes.size())), bytes_(bytes) {}

    std::int64_t readAt(std::int64_t offset, std::span<std::uint8_t> buffer) override {
        if (offset < 0 || offset >= size()) return 0;
        const auto count = std::min<std::size_t>(bytes_.size() - static_cast<std::size_t>(offset), buffer.size());
        std::memcpy(buffer.data(), bytes_.data() + offset, count);
        return static_cast<std::int64_t>(count);
    }

private:
    ByteView bytes_;
};

}  // namespace

std::unique_ptr<MediaByteSource> openMediaFile(const std::filesystem::path& file) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) throw FileSanitizerError(FileSanitizerError::Case::unreadableFile);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        ::close(fd);
        throw FileSanitizerError(FileSanitizerError::Case::unreadableFile);
    }
    return std::make_unique<FileSource>(fd, static_cast<std::int64_t>(status.st_size));
}

std::unique_ptr<MediaByteSource> mediaBytes(ByteView bytes) { return std::make_unique<MemorySource>(bytes); }

}  // namespace velquor::files
