#include "core/text/input/TextInputSafety.h"

#include "core/posix/FileDescriptor.h"
#include "core/text/base/Utf.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <string_view>
#include <system_error>
#include <vector>

namespace velquor::text {

namespace {

constexpr std::size_t readChunkSize = 65'536;
constexpr std::size_t binarySampleSize = 8'192;
constexpr double denseControlRatio = 0.05;

struct BinarySignature {
    std::string_view leadingBytes;
    std::string_view description;
};

// Tested in this order; the first match decides.
constexpr std::array<BinarySignature, 12> binarySignatures{{
    {"PK\x03\x04", "a ZIP or Office archive"},
    {"%PDF-", "a PDF"},
    {"\x89PNG\r\n\x1A\n", "a PNG image"},
    {"\xFF\xD8\xFF", "a JPEG image"},
    {"GIF87a", "a GIF image"},
    {"GIF89a", "a GIF image"},
    {"RIFF", "a RIFF media container"},
    {"OggS", "an Ogg media container"},
    {"\x1F\x8B", "a gzip archive"},
    {"\x7F"
     "ELF",
     "an executable binary"},
    {"\xCF\xFA\xED\xFE", "a Mach-O executable"},
    {"\xCA\xFE\xBA\xBE", "a binary executable or class file"},
}};

// Tab, line feed, vertical tab, form feed, carriage return and escape occur in real text.
bool isTextControlByte(std::uint8_t byte) {
    return byte == 0x09 || byte == 0x0A || byte == 0x0B || byte == 0x0C || byte == 0x0D || byte == 0x1B;
}

bool startsWith(std::span<const std::uint8_t> data, std::string_view prefix) {
    return data.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), data.begin(),
                      [](char expected, std::uint8_t actual) { return static_cast<std::uint8_t>(expected) == actual; });
}

posix::FileDescriptor openForReading(const std::filesystem::path& path) {
    posix::FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (!file.valid()) throw std::system_error(errno, std::generic_category(), path.string());
    return file;
}

// Fills the chunk unless the input ends first; a failure names the system call.
std::size_t readChunk(int fileDescriptor, std::span<std::uint8_t> chunk) {
    try {
        return posix::readFully(fileDescriptor, chunk);
    } catch (const std::system_error& failure) {
        throw std::system_error(failure.code(), "read");
    }
}

}  // namespace

std::u16string TextInputSafety::readText(const std::filesystem::path& path, std::int64_t maxByteCount) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) throw std::system_error(errno, std::generic_category(), path.string());
    // Only a regular file has a size worth trusting; pipes and devices are bounded by the read loop.
    if (S_ISREG(status.st_mode) && status.st_size > maxByteCount) throw TextInputError::tooLarge(maxByteCount);
    const auto file = openForReading(path);
    return readText(file.get(), maxByteCount);
}

std::u16string TextInputSafety::readText(int fileDescriptor, std::int64_t maxByteCount) {
    std::vector<std::uint8_t> data;
    for (;;) {
        const auto allowance =
            static_cast<std::uint64_t>(std::max<std::int64_t>(maxByteCount - std::int64_t(data.size()), 0));
        // One byte past the limit is enough to notice an oversized input without reading it all.
        const auto request = static_cast<std::size_t>(std::min<std::uint64_t>(allowance + 1, readChunkSize));
        const std::size_t before = data.size();
        data.resize(before + request);
        const auto received = readChunk(fileDescriptor, std::span(data).subspan(before));
        data.resize(before + received);
        if (static_cast<std::int64_t>(data.size()) > maxByteCount) throw TextInputError::tooLarge(maxByteCount);
        if (received < request) break;
    }
    return decodeText(data, maxByteCount);
}

std::u16string TextInputSafety::decodeText(std::span<const std::uint8_t> data, std::int64_t maxByteCount) {
    if (static_cast<std::int64_t>(data.size()) > maxByteCount) throw TextInputError::tooLarge(maxByteCount);
    if (auto description = binaryDescription(data)) throw TextInputError::binaryData(std::move(*description));
    auto text = decodeUtf8(data);
    if (!text) throw TextInputError::invalidUTF8();
    return std::move(*text);
}

void TextInputSafety::validateText(std::u16string_view text, std::int64_t maxByteCount) {
    if (utf8ByteCount(text) > maxByteCount) throw TextInputError::tooLarge(maxByteCount);
}

std::optional<std::string> TextInputSafety::binaryDescription(std::span<const std::uint8_t> data) {
    for (const auto& signature : binarySignatures) {
        if (startsWith(data, signature.leadingBytes)) return std::string(signature.description);
    }
    const auto sample = data.first(std::min(data.size(), binarySampleSize));
    if (std::find(sample.begin(), sample.end(), 0) != sample.end()) return "binary data containing NUL bytes";
    if (sample.empty()) return std::nullopt;
    const auto controls = std::count_if(sample.begin(), sample.end(),
                                        [](std::uint8_t byte) { return byte < 0x20 && !isTextControlByte(byte); });
    if (static_cast<double>(controls) / static_cast<double>(sample.size()) > denseControlRatio) {
        return "binary data with dense control bytes";
    }
    return std::nullopt;
}

}  // namespace velquor::text
