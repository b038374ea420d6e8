#pragma once

#include "core/files/FileBytes.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace velquor::files {

// Where libavformat reads a media file from. Every read is bounded by the size taken when the
// source was opened, so a file that grows while it is read cannot make a demuxer read forever.
class MediaByteSource {
public:
    virtual ~MediaByteSource() = default;

    std::int64_t size() const { return size_; }

    // Up to buffer.size() bytes at `offset`: the count read, 0 at the end, or -errno.
    virtual std::int64_t readAt(std::int64_t offset, std::span<std::uint8_t> buffer) = 0;

protected:
    explicit MediaByteSource(std::int64_t size) : size_(size) {}

private:
    std::int64_t size_;
};

// A regular file opened for reading. A path that cannot be opened, or that is not a regular file
// (a FIFO would block, a device would never end), is unreadableFile.
std::unique_ptr<MediaByteSource> openMediaFile(const std::filesystem::path& file);

// Bytes already in memory, which must outlive the source.
std::unique_ptr<MediaByteSource> mediaBytes(ByteView bytes);

}  // namespace velquor::files
