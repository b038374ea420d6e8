#include "core/files/FileBytes.h"

#include "core/posix/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <system_error>

namespace velquor::files {

std::optional<std::uint16_t> bigEndian16(ByteView data, std::size_t offset) {
    if (!fitsIn(data, offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>((data[offset] << 8) | data[offset + 1]);
}

std::optional<std::uint32_t> bigEndian32(ByteView data, std::size_t offset) {
    if (!fitsIn(data, offset, 4)) return std::nullopt;
    return (std::uint32_t{data[offset]} << 24) | (std::uint32_t{data[offset + 1]} << 16) |
           (std::uint32_t{data[offset + 2]} << 8) | std::uint32_t{data[offset + 3]};
}

std::optional<std::uint16_t> littleEndian16(ByteView data, std::size_t offset) {
    if (!fitsIn(data, offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(data[offset] | (data[offset + 1] << 8));
}

std::optional<std::uint32_t> littleEndian24(ByteView data, std::size_t offset) {
    if (!fitsIn(data, offset, 3)) return std::nullopt;
    return std::uint32_t{data[offset]} | (std::uint32_t{data[offset + 1]} << 8) |
           (std::uint32_t{data[offset + 2]} << 16);
}

std::optional<std::uint32_t> littleEndian32(ByteView data, std::size_t offset) {
    if (!fitsIn(data, offset, 4)) return std::nullopt;
    return std::uint32_t{data[offset]} | (std::uint32_t{data[offset + 1]} << 8) |
           (std::uint32_t{data[offset + 2]} << 16) | (std::uint32_t{data[offset + 3]} << 24);
}

bool startsWith(ByteView data, std::size_t offset, std::string_view bytes) {
    return fitsIn(data, offset, bytes.size()) && std::memcmp(data.data() + offset, bytes.data(), bytes.size()) == 0;
}

void appendBigEndian16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void appendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    appendBigEndian16(out, static_cast<std::uint16_t>(value >> 16));
    appendBigEndian16(out, static_cast<std::uint16_t>(value));
}

void appendLittleEndian16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    appendLittleEndian16(out, static_cast<std::uint16_t>(value));
    appendLittleEndian16(out, static_cast<std::uint16_t>(value >> 16));
}

void appendBytes(std::vector<std::uint8_t>& out, ByteView bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

void appendBytes(std::vector<std::uint8_t>& out, std::string_view bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file,
                                                       std::uint64_t maximumByteCount) {
    const posix::FileDescriptor opened(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (!opened.valid() || ::fstat(opened.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0 ||
        static_cast<std::uint64_t>(status.st_size) > maximumByteCount) {
        return std::nullopt;
    }
    // The file may change while it is read: never read more than the limit, keep what was read.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(status.st_size));
    try {
        bytes.resize(posix::readFully(opened.get(), bytes));
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace velquor::files
