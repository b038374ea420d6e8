#include "core/files/media/MediaTagBudget.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/Id3TagEntries.h"
#include "core/files/media/TagEntryWalk.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace velquor::files {

namespace {

// The comment count is the writer's claim: no more comments than four-byte lengths fit.
void countFlacComments(SourceWindow& window, std::int64_t at, EntryCount& count) {
    std::array<std::uint8_t, 4> header{};
    for (bool last = false; !last && window.read(at, header);) {
        last = (header[0] & 0x80) != 0;
        const std::int64_t length = bigEndian(std::span(header).subspan(1));
        const std::int64_t body = at + 4;
        if ((header[0] & 0x7F) == 4 && length >= 8) {
            std::array<std::uint8_t, 4> field{};
            if (!window.read(body, field)) return;
            const std::int64_t vendor = littleEndian(field);
            if (vendor > length - 8 || !window.read(body + 4 + vendor, field)) return;
            count.add(std::min<std::int64_t>(littleEndian(field), (length - 8 - vendor) / 4));
        }
        at = body + length;
    }
}

// Every INFO entry takes at least a chunk header.
void countInfoEntries(SourceWindow& window, std::int64_t at, std::int64_t end, EntryCount& count) {
    std::array<std::uint8_t, 8> header{};
    while (end - at >= 8 && window.read(at, header)) {
        const std::int64_t size = littleEndian(std::span(header).subspan(4));
        count.add(1);
        at += 8 + size + (size & 1);
    }
}

enum class ByteOrder { little, big };

struct ChunkList {
    ByteOrder order;
    int depth = 0;
};

constexpr int maximumListDepth = 3;

void countChunks(SourceWindow& window, std::int64_t at, std::int64_t end, ChunkList list, EntryCount& count) {
    std::array<std::uint8_t, 8> header{};
    while (end - at >= 8 && window.read(at, header)) {
        const std::span<const std::uint8_t> bytes(header);
        const std::string_view id(reinterpret_cast<const char*>(header.data()), 4);
        const std::int64_t size =
            list.order == ByteOrder::little ? littleEndian(bytes.subspan(4)) : bigEndian(bytes.subspan(4));
        const std::int64_t body = at + 8;
        // A streamed recording says its data runs to the end of the file: nothing after it.
        if (size > end - body) return;
        if (id == "id3 " || id == "ID3 ") {
            countId3Tags(window, body, count);
        } else if (list.order == ByteOrder::little && id == "LIST" && size >= 4) {
            if (window.startsWith(body, "INFO")) {
                countInfoEntries(window, body + 4, body + size, count);
            } else if (list.depth < maximumListDepth && !window.startsWith(body, "movi")) {
                countChunks(window, body + 4, body + size, {list.order, list.depth + 1}, count);
            }
        }
        at = body + size + (size & 1);
    }
}

// Ogg keeps each stream's comments in one of its first header packets, behind the codec's mark.
struct OggStream {
    std::uint32_t serial = 0;
    bool flac = false;  // FLAC in Ogg: its comments are a metadata block of their own
    int packet = 0;     // the index of the packet being read
    std::vector<std::uint8_t> start{};
    std::int64_t length = 0;
};

constexpr int oggHeaderPackets = 4;
constexpr std::size_t oggKeptBytes = 1 << 12;

std::optional<std::size_t> commentListOffset(const OggStream& stream) {
    const auto startsWith = [&](std::string_view mark) {
        return stream.start.size() >= mark.size() && std::memcmp(stream.start.data(), mark.data(), mark.size()) == 0;
    };
    if (startsWith("\x03vorbis") || startsWith("\x81theora")) return 7;
    if (startsWith("OpusTags")) return 8;
    if (stream.flac && !stream.start.empty() && (stream.start[0] & 0x7F) == 4) return 4;
    return std::nullopt;
}

// The claimed count, no more than four-byte lengths fit in the packet.
void countOggComments(const OggStream& stream, EntryCount& count) {
    const auto offset = commentListOffset(stream);
    if (!offset) return;
    const std::span<const std::uint8_t> bytes(stream.start);
    const std::int64_t room = stream.length - static_cast<std::int64_t>(*offset) - 8;
    if (room < 0) return;
    if (bytes.size() < *offset + 4) return count.add(room / 4);
    const std::int64_t vendor = littleEndian(bytes.subspan(*offset, 4));
    const auto field = static_cast<std::size_t>(std::min<std::int64_t>(vendor, room)) + *offset + 4;
    if (vendor > room || bytes.size() < field + 4) return count.add(std::max<std::int64_t>(room - vendor, 0) / 4);
    count.add(std::min<std::int64_t>(littleEndian(bytes.subspan(field, 4)), (room - vendor) / 4));
}

void addToPacket(OggStream& stream, SourceWindow& window, std::int64_t at, std::int64_t size) {
    const auto kept = std::min<std::int64_t>(size, static_cast<std::int64_t>(oggKeptBytes - stream.start.size()));
    if (kept > 0) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kept));
        if (window.read(at, bytes)) stream.start.insert(stream.start.end(), bytes.begin(), bytes.end());
    }
    stream.length += size;
}

void endPacket(OggStream& stream, EntryCount& count) {
    if (stream.packet == 0) {
        stream.flac = stream.start.size() >= 5 && std::memcmp(stream.start.data(),
                                                              "\x7F"
                                                              "FLAC",
                                                              5) == 0;
    } else {
        countOggComments(stream, count);
    }
    ++stream.packet;
    stream.start.clear();
    stream.length = 0;
}

// Walks the pages until every stream is past its header packets, reading their headers and no
// more than the first bytes of each header packet.
void countOggStreams(SourceWindow& window, std::int64_t at, EntryCount& count) {
    std::vector<OggStream> streams;
    std::array<std::uint8_t, 27> header{};
    std::array<std::uint8_t, 255> lacing{};
    while (window.read(at, header) && std::memcmp(header.data(), "OggS", 4) == 0) {
        const auto segments = std::span(lacing).first(header[26]);
        if (!window.read(at + 27, segments)) return;
        const std::uint32_t serial = littleEndian(std::span(header).subspan(14, 4));
        auto stream =
            std::find_if(streams.begin(), streams.end(), [&](const OggStream& s) { return s.serial == serial; });
        if (stream == streams.end()) {
            if ((header[5] & 0x02) == 0) return;  // a stream that never began: not an Ogg file we read
            stream = streams.insert(streams.end(), OggStream{.serial = serial});
        }
        std::int64_t body = at + 27 + static_cast<std::int64_t>(segments.size());
        for (const auto size : segments) {
            if (stream->packet < oggHeaderPackets) addToPacket(*stream, window, body, size);
            body += size;
            if (size < 255 && stream->packet < oggHeaderPackets) endPacket(*stream, count);
        }
        at = body;
        if (std::all_of(streams.begin(), streams.end(),
                        [](const OggStream& s) { return s.packet >= oggHeaderPackets; })) {
            return;
        }
    }
}

// Matroska: every SimpleTag inside the segment's Tags, nested ones included.
struct EbmlElement {
    std::uint32_t id = 0;
    std::int64_t data = 0;
    std::optional<std::int64_t> size{};  // none when the writer left it open
};

constexpr std::uint32_t ebmlHeaderId = 0x1A45DFA3;
constexpr std::uint32_t segmentId = 0x18538067;
constexpr std::uint32_t tagsId = 0x1254C367;
constexpr std::uint32_t tagId = 0x7373;
constexpr std::uint32_t simpleTagId = 0x67C8;
constexpr int maximumEbmlDepth = 16;

std::optional<EbmlElement> ebmlElementAt(SourceWindow& window, std::int64_t at, std::int64_t end) {
    std::array<std::uint8_t, 12> bytes{};
    const auto available = std::span(bytes).first(static_cast<std::size_t>(std::clamp<std::int64_t>(end - at, 0, 12)));
    if (available.size() < 2 || !window.read(at, available)) return std::nullopt;
    const int idLength = std::countl_zero(available[0]) + 1;
    if (idLength > 4) return std::nullopt;
    const int sizeLength = std::countl_zero(available[idLength]) + 1;
    if (sizeLength > 8 || static_cast<std::size_t>(idLength + sizeLength) > available.size()) return std::nullopt;
    EbmlElement element{.id = bigEndian(available.first(idLength)), .data = at + idLength + sizeLength};
    std::uint64_t size = available[idLength] & (0xFF >> sizeLength);
    bool open = size == (0xFFu >> sizeLength);
    for (int i = 1; i < sizeLength; ++i) {
        size = (size << 8) | available[idLength + i];
        open = open && available[idLength + i] == 0xFF;
    }
    if (!open) {
        if (size > static_cast<std::uint64_t>(end - element.data)) return std::nullopt;
        element.size = static_cast<std::int64_t>(size);
    }
    return element;
}

void countSimpleTags(SourceWindow& window, std::int64_t at, std::int64_t end, int depth, EntryCount& count) {
    while (const auto element = ebmlElementAt(window, at, end)) {
        if (!element->size) return;
        if (element->id == simpleTagId) count.add(1);
        if ((element->id == tagId || element->id == simpleTagId) && depth < maximumEbmlDepth) {
            countSimpleTags(window, element->data, element->data + *element->size, depth + 1, count);
        }
        at = element->data + *element->size;
    }
}

void countMatroskaTags(SourceWindow& window, EntryCount& count) {
    const auto header = ebmlElementAt(window, 0, window.size());
    if (!header || header->id != ebmlHeaderId || !header->size) return;
    const auto segment = ebmlElementAt(window, header->data + *header->size, window.size());
    if (!segment || segment->id != segmentId) return;
    const std::int64_t end = segment->size ? segment->data + *segment->size : window.size();
    for (std::int64_t at = segment->data;;) {
        const auto element = ebmlElementAt(window, at, end);
        // A cluster left open hides where the next element begins.
        if (!element || !element->size) return;
        if (element->id == tagsId) countSimpleTags(window, element->data, element->data + *element->size, 0, count);
        at = element->data + *element->size;
    }
}

// ASF (Windows Media): the descriptors and metadata records of the header's objects, each list
// behind a 16-bit count, no more than their smallest records fit.
using Guid = std::array<std::uint8_t, 16>;

constexpr Guid asfHeaderGuid{0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                             0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr Guid asfExtendedContentGuid{0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11,
                                      0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50};
constexpr Guid asfHeaderExtensionGuid{0xB5, 0x03, 0xBF, 0x5F, 0x2E, 0xA9, 0xCF, 0x11,
                                      0x8E, 0xE3, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr Guid asfMetadataGuid{0xEA, 0xCB, 0xF8, 0xC5, 0xAF, 0x5B, 0x77, 0x48,
                               0x84, 0x67, 0xAA, 0x8C, 0x44, 0xFA, 0x4C, 0xCA};
constexpr Guid asfMetadataLibraryGuid{0x94, 0x1C, 0x23, 0x44, 0x98, 0x94, 0xD1, 0x49,
                                      0xA1, 0x41, 0x1D, 0x13, 0x4E, 0x45, 0x70, 0x54};
constexpr std::int64_t asfObjectHeaderSize = 24;
constexpr std::int64_t smallestAsfRecord = 6;

void countAsfObjects(SourceWindow& window, std::int64_t at, std::int64_t end, bool nested, EntryCount& count) {
    std::array<std::uint8_t, asfObjectHeaderSize + 2> header{};
    while (end - at >= asfObjectHeaderSize && window.read(at, std::span(header).first(asfObjectHeaderSize))) {
        Guid guid{};
        std::copy_n(header.begin(), guid.size(), guid.begin());
        const std::uint64_t size = littleEndian(std::span(header).subspan(16, 4)) |
                                   (std::uint64_t{littleEndian(std::span(header).subspan(20, 4))} << 32);
        if (size < asfObjectHeaderSize || size > static_cast<std::uint64_t>(end - at)) return;
        const auto body = at + asfObjectHeaderSize;
        const auto bodySize = static_cast<std::int64_t>(size) - asfObjectHeaderSize;
        std::array<std::uint8_t, 2> records{};
        const bool listsRecords =
            guid == asfExtendedContentGuid || (nested && (guid == asfMetadataGuid || guid == asfMetadataLibraryGuid));
        if (listsRecords && window.read(body, records)) {
            count.add(std::min<std::int64_t>(littleEndian(records), bodySize / smallestAsfRecord));
        } else if (guid == asfHeaderExtensionGuid && !nested && bodySize >= 22) {
            countAsfObjects(window, body + 22, body + bodySize, true, count);
        }
        at += static_cast<std::int64_t>(size);
    }
}

void countAsfHeader(SourceWindow& window, EntryCount& count) {
    std::array<std::uint8_t, 30> header{};
    if (!window.read(0, header) || !std::equal(asfHeaderGuid.begin(), asfHeaderGuid.end(), header.begin())) return;
    const std::int64_t size = littleEndian(std::span(header).subspan(16, 4));
    countAsfObjects(window, 30, std::min(window.size(), size), false, count);
}

// The tag at the end of an MP3 or AAC file, in front of an ID3v1 tag when there is one: its
// footer's item count, no more than the items of ten bytes or more that fit.
void countApeItems(SourceWindow& window, EntryCount& count) {
    std::int64_t footer = window.size() - 32;
    if (window.size() >= 128 && window.startsWith(window.size() - 128, "TAG")) footer -= 128;
    std::array<std::uint8_t, 32> bytes{};
    if (footer < 0 || !window.read(footer, bytes) || std::memcmp(bytes.data(), "APETAGEX", 8) != 0) return;
    const std::span<const std::uint8_t> fields(bytes);
    const std::int64_t size = littleEndian(fields.subspan(12, 4));
    const std::int64_t items = littleEndian(fields.subspan(16, 4));
    count.add(std::min(items, size / 10));
}

}  // namespace

std::int64_t checkTagEntryBudget(MediaByteSource& source, const MediaDeadline& deadline) {
    SourceWindow window(source, deadline);
    EntryCount count;
    const std::int64_t start = countId3Tags(window, 0, count);
    if (window.startsWith(start, "fLaC")) {
        countFlacComments(window, start + 4, count);
    } else if (window.startsWith(start, "RIFF") || window.startsWith(start, "RF64") ||
               window.startsWith(start, "BW64")) {
        countChunks(window, start + 12, window.size(), {ByteOrder::little}, count);
    } else if (window.startsWith(start, "FORM")) {
        countChunks(window, start + 12, window.size(), {ByteOrder::big}, count);
    } else if (window.startsWith(start, "OggS")) {
        countOggStreams(window, start, count);
    } else if (window.startsWith(start, "\x30\x26\xB2\x75")) {
        countAsfHeader(window, count);
    } else {
        countMatroskaTags(window, count);
    }
    countApeItems(window, count);
    if (deadline.passed()) throwUnreadableFile();
    return count.value();
}

}  // namespace velquor::files
