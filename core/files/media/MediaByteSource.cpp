#include "core/files/media/MediaByteSource.h"

#include "core/files/FileSanitizerError.h"
#include "core/posix/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <system_error>

namespace velquor::files {

namespace {

class FileSource final : public MediaByteSource {
public:
    FileSource(posix::FileDescriptor file, std::int64_t size) : MediaByteSource(size), file_(std::move(file)) {}

    std::int64_t readAt(std::int64_t offset, std::span<std::uint8_t> buffer) override {
        if (offset < 0 || offset >= size()) return 0;
        const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(size() - offset, buffer.size()));
        try {
            return static_cast<std::int64_t>(posix::readFullyAt(file_.get(), buffer.first(wanted), offset));
        } catch (const std::system_error& failure) {
            return -failure.code().value();
        }
    }

private:
    posix::FileDescriptor file_;
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
    posix::FileDescriptor opened(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat status {};
    if (!opened.valid() || ::fstat(opened.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        throwUnreadableFile();
    }
    return std::make_unique<FileSource>(std::move(opened), static_cast<std::int64_t>(status.st_size));
}

std::unique_ptr<MediaByteSource> mediaBytes(ByteView bytes) { return std::make_unique<MemorySource>(bytes); }

}  // namespace velquor::files
