#include "tests/support/ImageFixtures.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
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

std::string decodedPixels(const std::filesystem::path& file) {
    return runTool("/usr/bin/ffmpeg", {"-v", "error", "-i", file.string(), "-f", "rawvideo", "-pix_fmt", "rgba", "-"});
}

Bytes joined(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes littleEndian16(std::uint16_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
}

Bytes littleEndian32(std::uint32_t value) {
    return joined(
        {littleEndian16(static_cast<std::uint16_t>(value)), littleEndian16(static_cast<std::uint16_t>(value >> 16))});
}

Bytes jpegSegment(std::uint8_t marker, const Bytes& payload) {
    const auto length = payload.size() + 2;
    return joined({{0xFF, marker, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)}, payload});
}

Bytes bigEndian32(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

Bytes isoBox(std::string_view type, const Bytes& payload) {
    return joined({bigEndian32(static_cast<std::uint32_t>(payload.size() + 8)), bytesOf(type), payload});
}

namespace {

Bytes itemInfoEntry(std::uint8_t itemId, std::string_view type) {
    return isoBox("infe", joined({{2, 0, 0, 0}, {0, itemId}, {0, 0}, bytesOf(type), {0}}));
}

Bytes itemReference(std::string_view type, std::uint8_t from, std::uint8_t to) {
    return isoBox(type, {0, from, 0, 1, 0, to});
}

// Item 1 is the Exif item, its one extent `exifItem` in an 'mdat' after the 'meta' box.
Bytes heicFile(const Bytes& exifItem, std::optional<std::uint32_t> extentOffset, bool primaryIsGrid) {
    const Bytes ftyp = isoBox("ftyp", joined({bytesOf("heic"), {0, 0, 0, 0}, bytesOf("mif1")}));
    const Bytes iinf = primaryIsGrid ? isoBox("iinf", joined({{0, 0, 0, 0},
                                                              {0, 3},
                                                              itemInfoEntry(1, "Exif"),
                                                              itemInfoEntry(2, "grid"),
                                                              itemInfoEntry(3, "hvc1")}))
                                     : isoBox("iinf", joined({{0, 0, 0, 0}, {0, 1}, itemInfoEntry(1, "Exif")}));
    const Bytes gridBoxes =
        primaryIsGrid
            ? joined({isoBox("pitm", {0, 0, 0, 0, 0, 2}),
                      isoBox("iref", joined({{0, 0, 0, 0}, itemReference("dimg", 2, 3), itemReference("cdsc", 1, 2)}))})
            : Bytes{};
    // iloc version 0 with 4-byte offsets and lengths: item 1, one extent.
    const auto meta = [&](std::uint32_t offset) {
        const Bytes iloc = isoBox("iloc", joined({{0, 0, 0, 0},
                                                  {0x44, 0},
                                                  {0, 1},
                                                  {0, 1},
                                                  {0, 0},
                                                  {0, 1},
                                                  bigEndian32(offset),
                                                  bigEndian32(static_cast<std::uint32_t>(exifItem.size()))}));
        return isoBox("meta", joined({{0, 0, 0, 0}, gridBoxes, iinf, iloc}));
    };
    const auto itemOffset = static_cast<std::uint32_t>(ftyp.size() + meta(0).size() + 8);
    return joined({ftyp, meta(extentOffset.value_or(itemOffset)), isoBox("mdat", exifItem)});
}

}  // namespace

Bytes heicWithExifItem(const Bytes& exifItem, std::optional<std::uint32_t> extentOffset) {
    return heicFile(exifItem, extentOffset, false);
}

Bytes heicGridWithExifItem(const Bytes& exifItem) { return heicFile(exifItem, std::nullopt, true); }

Bytes jpegExifPayload(const Bytes& jpeg) {
    static constexpr std::string_view exifHeader("Exif\0\0", 6);
    std::size_t at = 2;  // after the start of image
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA) {
        const std::size_t length = (std::size_t{jpeg[at + 2]} << 8) | jpeg[at + 3];
        if (length < 2 || at + 2 + length > jpeg.size()) break;
        const auto payload = jpeg.begin() + static_cast<std::ptrdiff_t>(at + 4);
        const auto end = jpeg.begin() + static_cast<std::ptrdiff_t>(at + 2 + length);
        if (jpeg[at + 1] == 0xE1 && length - 2 >= exifHeader.size() &&
            std::equal(exifHeader.begin(), exifHeader.end(), payload)) {
            return Bytes(payload, end);
        }
        at += 2 + length;
    }
    return {};
}

Bytes riffChunk(std::string_view fourcc, const Bytes& payload) {
    Bytes chunk = joined({bytesOf(fourcc), littleEndian32(static_cast<std::uint32_t>(payload.size())), payload});
    if (payload.size() & 1) chunk.push_back(0);
    return chunk;
}

Bytes webpFile(const Bytes& chunks) {
    return joined(
        {bytesOf("RIFF"), littleEndian32(static_cast<std::uint32_t>(chunks.size() + 4)), bytesOf("WEBP"), chunks});
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

Bytes longAnimatedGif(std::size_t frames, std::uint16_t loopCount) {
    Bytes out = bytesOf("GIF89a");
    out = joined({out, {1, 0, 1, 0, 0x80, 0, 0}, {0, 0, 0, 255, 255, 255}});
    out = joined({out, bytesOf("\x21\xFF\x0BNETSCAPE2.0\x03\x01"), littleEndian16(loopCount), {0}});
    out.reserve(out.size() + frames * 23 + 1);
    for (std::size_t i = 0; i < frames; ++i) {
        const auto delay = longAnimationDelay(i);
        const Bytes frame{0x21,
                          0xF9,
                          4,
                          0,
                          static_cast<std::uint8_t>(delay),
                          static_cast<std::uint8_t>(delay >> 8),
                          0,
                          0,
                          0x2C,
                          0,
                          0,
                          0,
                          0,
                          1,
                          0,
                          1,
                          0,
                          0,
                          2,
                          2,
                          0x44,
                          0x01,
                          0};
        out.insert(out.end(), frame.begin(), frame.end());
    }
    out.push_back(0x3B);
    return out;
}

Bytes longAnimatedPng(std::size_t frames, std::uint32_t loopCount) {
    Bytes out = bytesOf(std::string_view("\x89PNG\r\n\x1A\n", 8));
    const auto append = [&out](const Bytes& part) { out.insert(out.end(), part.begin(), part.end()); };
    append(pngChunk("IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0}));
    append(pngChunk("acTL", joined({bigEndian32(static_cast<std::uint32_t>(frames)), bigEndian32(loopCount)})));
    const Bytes pixels = zlibCompressed({0, 0x80});
    out.reserve(out.size() + frames * (38 + 16 + pixels.size()) + 12);
    std::uint32_t sequence = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const auto delay = longAnimationDelay(i);
        // Sequence, size, offset, delay numerator and denominator, disposal and blending.
        append(pngChunk(
            "fcTL", joined({bigEndian32(sequence++),
                            bigEndian32(1),
                            bigEndian32(1),
                            bigEndian32(0),
                            bigEndian32(0),
                            {static_cast<std::uint8_t>(delay >> 8), static_cast<std::uint8_t>(delay), 0, 100, 0, 0}})));
        if (i == 0) {
            append(pngChunk("IDAT", pixels));
        } else {
            append(pngChunk("fdAT", joined({bigEndian32(sequence++), pixels})));
        }
    }
    append(pngChunk("IEND", {}));
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
    return joined({{0xFF, 0xD8}, jpegSegment(marker, payload), Bytes(jpeg.begin() + 2, jpeg.end())});
}

}  // namespace velquor::testing
