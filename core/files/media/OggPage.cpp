#include "core/files/media/OggPage.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/MediaCopyOutput.h"

#include <algorithm>
#include <cstring>
#include <utility>

extern "C" {
#include <libavutil/crc.h>
}

namespace velquor::files {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t headerSize = 27;
constexpr std::size_t checksumOffset = 22;
constexpr std::size_t sequenceOffset = 18;
constexpr std::size_t maximumSegments = 255;

void putLittleEndian(Bytes& bytes, std::size_t offset, std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i)
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t readLittleEndian32(const Bytes& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[offset + static_cast<std::size_t>(i)];
    return value;
}

// Ogg's CRC-32: polynomial 0x04C11DB7, not reflected, over the page with its checksum field zero.
std::uint32_t pageChecksum(Bytes page) {
    std::fill_n(page.begin() + checksumOffset, 4, 0);
    const std::uint32_t crc = av_crc(av_crc_get_table(AV_CRC_32_IEEE), 0, page.data(), page.size());
    return __builtin_bswap32(crc);
}

void mendChecksum(Bytes& page) { putLittleEndian(page, checksumOffset, pageChecksum(page), 4); }

Bytes page(std::uint8_t flags, std::uint64_t granule, std::uint32_t serial, std::uint32_t sequence,
           const Bytes& segments, const Bytes& body) {
    Bytes bytes(headerSize, 0);
    std::memcpy(bytes.data(), "OggS", 4);
    bytes[5] = flags;
    putLittleEndian(bytes, 6, granule, 8);
    putLittleEndian(bytes, 14, serial, 4);
    putLittleEndian(bytes, sequenceOffset, sequence, 4);
    bytes[26] = static_cast<std::uint8_t>(segments.size());
    bytes.insert(bytes.end(), segments.begin(), segments.end());
    bytes.insert(bytes.end(), body.begin(), body.end());
    mendChecksum(bytes);
    return bytes;
}

}  // namespace

OggPage::Packets OggPage::packets() const {
    Packets result;
    const std::size_t segmentCount = bytes[26];
    std::size_t at = headerSize + segmentCount;
    Bytes current;
    for (std::size_t i = 0; i < segmentCount; ++i) {
        const std::size_t lacing = bytes[headerSize + i];
        current.insert(current.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + lacing));
        at += lacing;
        if (lacing < 255) result.completed.push_back(std::exchange(current, {}));
    }
    result.continuing = std::move(current);
    return result;
}

Bytes OggPage::renumbered(std::uint32_t newSequence) const {
    Bytes copy = bytes;
    putLittleEndian(copy, sequenceOffset, newSequence, 4);
    mendChecksum(copy);
    return copy;
}

OggPage readOggPage(MediaByteSource& source, std::int64_t offset) {
    auto bytes = readSourceBytes(source, offset, headerSize);
    if (std::memcmp(bytes.data(), "OggS", 4) != 0 || bytes[4] != 0) throwUnreadableFile();
    const std::size_t segmentCount = bytes[26];
    const auto segments = readSourceBytes(source, offset + static_cast<std::int64_t>(headerSize), segmentCount);
    std::size_t bodySize = 0;
    for (const auto lacing : segments) bodySize += lacing;
    const auto body = readSourceBytes(source, offset + static_cast<std::int64_t>(headerSize + segmentCount), bodySize);
    bytes.insert(bytes.end(), segments.begin(), segments.end());
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (pageChecksum(bytes) != readLittleEndian32(bytes, checksumOffset)) throwUnreadableFile();

    OggPage page;
    page.flags = bytes[5];
    page.serial = readLittleEndian32(bytes, 14);
    page.sequence = readLittleEndian32(bytes, sequenceOffset);
    page.byteCount = static_cast<std::int64_t>(bytes.size());
    page.bytes = std::move(bytes);
    return page;
}

std::vector<Bytes> oggPages(std::uint32_t serial, const std::vector<Bytes>& packets, std::uint32_t& sequence,
                            bool beginsStream) {
    std::vector<Bytes> pages;
    Bytes segments;
    Bytes body;
    bool continued = false;
    bool packetEnded = false;
    const auto flush = [&] {
        const std::uint8_t flags = static_cast<std::uint8_t>((continued ? 0x01 : 0) | (beginsStream ? 0x02 : 0));
        pages.push_back(page(flags, packetEnded ? 0 : ~std::uint64_t{0}, serial, sequence++, segments, body));
        beginsStream = false;
        segments.clear();
        body.clear();
        packetEnded = false;
    };
    for (const auto& packet : packets) {
        std::size_t left = packet.size();
        std::size_t at = 0;
        for (;;) {
            if (segments.size() == maximumSegments) {
                flush();
                continued = at > 0;
            }
            const std::size_t lacing = std::min<std::size_t>(left, 255);
            segments.push_back(static_cast<std::uint8_t>(lacing));
            body.insert(body.end(), packet.begin() + static_cast<std::ptrdiff_t>(at),
                        packet.begin() + static_cast<std::ptrdiff_t>(at + lacing));
            at += lacing;
            left -= lacing;
            if (lacing < 255) break;
        }
        packetEnded = true;
    }
    if (!segments.empty()) flush();
    return pages;
}

}  // namespace velquor::files
