#include "tests/support/ImageFixtures.h"

#include "tests/support/ChildProcess.h"

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace velquor::testing {

namespace {

void appendBigEndian32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

Bytes readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::string runTool(const std::string& program, const std::vector<std::string>& arguments) {
    const auto result = runChild(program, arguments);
    if (result.exitStatus != 0) throw std::runtime_error(program + " failed: " + result.err);
    return result.out;
}

std::filesystem::path makeTestImage(const std::filesystem::path& file, std::string_view size, int frames,
                                    const std::vector<std::string>& codecArguments) {
    std::vector<std::string> arguments{"-v",
                                       "error",
                                       "-y",
                                       "-f",
                                       "lavfi",
                                       "-i",
                                       "testsrc=size=" + std::string(size) + ":rate=4",
                                       "-frames:v",
                                       std::to_string(frames)};
    arguments.insert(arguments.end(), codecArguments.begin(), codecArguments.end());
    arguments.push_back(file.string());
    runTool("/usr/bin/ffmpeg", arguments);
    return file;
}

void writeTags(const std::filesystem::path& file, const std::vector<std::string>& assignments) {
    std::vector<std::string> arguments{"-q", "-q", "-overwrite_original"};
    arguments.insert(arguments.end(), assignments.begin(), assignments.end());
    arguments.push_back(file.string());
    runTool("/usr/bin/exiftool", arguments);
}

std::vector<std::pair<std::string, std::string>> exiftoolTags(const std::filesystem::path& file) {
    const auto json = runTool("/usr/bin/exiftool", {"-a", "-G1", "-j", file.string()});
    std::vector<std::pair<std::string, std::string>> tags;
    static const std::regex line(R"re(^\s*"([^"]+)":\s*(.*?),?$)re");
    std::istringstream lines(json);
    for (std::string text; std::getline(lines, text);) {
        std::smatch match;
        if (std::regex_match(text, match, line)) tags.emplace_back(match[1], match[2]);
    }
    return tags;
}

std::string decodedPixels(const std::filesystem::path& file) {
    return runTool("/usr/bin/ffmpeg", {"-v", "error", "-i", file.string(), "-f", "rawvideo", "-pix_fmt", "rgba", "-"});
}

Bytes pngChunk(std::string_view type, const Bytes& payload) {
    Bytes chunk;
    appendBigEndian32(chunk, static_cast<std::uint32_t>(payload.size()));
    chunk.insert(chunk.end(), type.begin(), type.end());
    chunk.insert(chunk.end(), payload.begin(), payload.end());
    const auto crc = crc32(0L, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
    appendBigEndian32(chunk, static_cast<std::uint32_t>(crc));
    return chunk;
}

Bytes zlibCompressed(const Bytes& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    if (compress(out.data(), &size, data.data(), static_cast<uLong>(data.size())) != Z_OK) {
        throw std::runtime_error("compress failed");
    }
    out.resize(size);
    return out;
}

Bytes tinyPng(const std::vector<Bytes>& chunks, const Bytes& afterEnd) {
    Bytes out = bytesOf(std::string_view("\x89PNG\r\n\x1A\n", 8));
    const auto append = [&out](const Bytes& part) { out.insert(out.end(), part.begin(), part.end()); };
    append(pngChunk("IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0}));
    for (const auto& chunk : chunks) append(chunk);
    append(pngChunk("IDAT", zlibCompressed({0, 0x80})));
    append(pngChunk("IEND", {}));
    append(afterEnd);
    return out;
}

Bytes withPngChunksAfterHeader(const Bytes& png, const std::vector<Bytes>& chunks) {
    const std::size_t afterHeader = 8 + 8 + 13 + 4;  // signature, then IHDR
    Bytes out(png.begin(), png.begin() + afterHeader);
    for (const auto& chunk : chunks) out.insert(out.end(), chunk.begin(), chunk.end());
    out.insert(out.end(), png.begin() + afterHeader, png.end());
    return out;
}

Bytes withJpegSegmentAfterStart(const Bytes& jpeg, std::uint8_t marker, const Bytes& payload) {
    Bytes out{0xFF, 0xD8, 0xFF, marker};
    const auto length = static_cast<std::uint16_t>(payload.size() + 2);
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), payload.begin(), payload.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

Bytes withWebpChunk(const Bytes& webp, std::string_view fourcc, const Bytes& payload) {
    Bytes out = webp;
    out.insert(out.end(), fourcc.begin(), fourcc.end());
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(payload.size() >> shift));
    out.insert(out.end(), payload.begin(), payload.end());
    if (payload.size() & 1) out.push_back(0);
    const auto riffSize = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    return out;
}

}  // namespace velquor::testing
