#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace velquor::files {

using ByteView = std::span<const std::uint8_t>;

// Whether `length` bytes from `offset` lie inside the data, without any overflow.
inline bool fitsIn(ByteView data, std::size_t offset, std::size_t length) {
    return offset <= data.size() && length <= data.size() - offset;
}

// Bounds-checked reads of big- and little-endian integers: nothing when they would run past the end.
std::optional<std::uint16_t> bigEndian16(ByteView data, std::size_t offset);
std::optional<std::uint32_t> bigEndian32(ByteView data, std::size_t offset);
std::optional<std::uint16_t> littleEndian16(ByteView data, std::size_t offset);
std::optional<std::uint32_t> littleEndian24(ByteView data, std::size_t offset);
std::optional<std::uint32_t> littleEndian32(ByteView data, std::size_t offset);

bool startsWith(ByteView data, std::size_t offset, std::string_view bytes);

void appendBigEndian16(std::vector<std::uint8_t>& out, std::uint16_t value);
void appendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value);
void appendLittleEndian16(std::vector<std::uint8_t>& out, std::uint16_t value);
void appendLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t value);
void appendBytes(std::vector<std::uint8_t>& out, ByteView bytes);
void appendBytes(std::vector<std::uint8_t>& out, std::string_view bytes);

// A whole regular file read into memory: the file size from the file system, then at most that
// many bytes. Nothing when the file cannot be opened, is not a regular file (a FIFO would block
// forever), is larger than `maximumByteCount` or fails to read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file,
                                                       std::uint64_t maximumByteCount);

}  // namespace velquor::files
