#pragma once

#include "core/files/media/MediaByteSource.h"
#include "core/files/media/MediaDeadline.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace velquor::files {

// Reads a file through one window of bytes, so that walking a hundred thousand small headers
// costs a few system calls rather than a hundred thousand. A failed read throws its system error;
// a passed deadline, and a file that ends before its size, are unreadableFile.
class SourceWindow {
public:
    SourceWindow(MediaByteSource& source, const MediaDeadline& deadline) : source_(source), deadline_(deadline) {}

    std::int64_t size() const { return source_.size(); }

    // Whether `out.size()` bytes (at most a header's worth) at `offset` are in the file; when they
    // are, they are copied to `out`.
    bool read(std::int64_t offset, std::span<std::uint8_t> out);

    bool startsWith(std::int64_t offset, std::string_view text);

private:
    void fill(std::int64_t offset);

    MediaByteSource& source_;
    const MediaDeadline& deadline_;
    std::vector<std::uint8_t> bytes_;
    std::int64_t begin_ = 0;
};

// The tag entries found so far; one past the budget is unreadableFile.
class EntryCount {
public:
    void add(std::int64_t entries);
    std::int64_t value() const { return count_; }

private:
    std::int64_t count_ = 0;
};

std::uint32_t bigEndian(std::span<const std::uint8_t> bytes);
std::uint32_t littleEndian(std::span<const std::uint8_t> bytes);

}  // namespace velquor::files
