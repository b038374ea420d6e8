#include "core/files/media/Id3TagEntries.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace velquor::files {

namespace {

// Four 7-bit digits; the high bits are ignored, as the demuxer does.
std::int64_t syncsafe(std::span<const std::uint8_t> bytes) {
    std::int64_t value = 0;
    for (const auto byte : bytes) value = (value << 7) | (byte & 0x7F);
    return value;
}

struct Id3Tag {
    int version = 0;
    bool unsynchronised = false;
    std::int64_t framesBegin = 0;
    std::int64_t end = 0;   // where the frames end, clamped to the file
    std::int64_t next = 0;  // where another tag may follow
};

std::optional<Id3Tag> id3TagAt(SourceWindow& window, std::int64_t offset) {
    std::array<std::uint8_t, 10> header{};
    if (!window.read(offset, header) || header[0] != 'I' || header[1] != 'D' || header[2] != '3') return std::nullopt;
    const int version = header[3];
    if (version < 2 || version > 4) return std::nullopt;
    const std::uint8_t flags = header[5];
    Id3Tag tag{.version = version, .unsynchronised = (flags & 0x80) != 0, .framesBegin = offset + 10};
    tag.end = std::min(window.size(), tag.framesBegin + syncsafe(std::span(header).subspan(6)));
    tag.next = tag.end + (version == 4 && (flags & 0x10) != 0 ? 10 : 0);
    if ((flags & 0x40) != 0) {
        // Version 2 calls this bit compression, which the demuxer skips whole.
        if (version == 2) return Id3Tag{.version = version, .framesBegin = tag.end, .end = tag.end, .next = tag.next};
        std::array<std::uint8_t, 4> extended{};
        if (!window.read(tag.framesBegin, extended)) return tag;
        tag.framesBegin += version == 3 ? 4 + std::int64_t{bigEndian(extended)} : syncsafe(extended);
    }
    return tag;
}

bool isFrameId(SourceWindow& window, std::int64_t offset) {
    std::array<std::uint8_t, 4> id{};
    return window.read(offset, id) && std::all_of(id.begin(), id.end(), [](std::uint8_t c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

// Some writers put plain sizes into version 4 frames; like the demuxer, a size that could be either
// is read the way that lands on the next frame.
std::optional<std::int64_t> version4FrameSize(SourceWindow& window, std::int64_t frame,
                                              std::span<const std::uint8_t> field, std::int64_t remaining) {
    const std::int64_t plain = bigEndian(field);
    if (plain <= 0x7F) return plain;
    const std::int64_t safe = syncsafe(field);
    if (plain >= remaining) return safe;
    if (isFrameId(window, frame + 10 + safe)) return safe;
    if (isFrameId(window, frame + 10 + plain)) return plain;
    return std::nullopt;
}

struct Id3Frame {
    std::array<std::uint8_t, 4> id{};
    std::int64_t headerSize = 0;
    std::int64_t size = 0;
    std::uint16_t flags = 0;
};

std::optional<Id3Frame> id3FrameAt(SourceWindow& window, const Id3Tag& tag, std::int64_t at) {
    Id3Frame frame{.headerSize = tag.version == 2 ? 6 : 10};
    std::array<std::uint8_t, 10> header{};
    if (tag.end - at < frame.headerSize || !window.read(at, std::span(header).first(frame.headerSize))) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> bytes(header);
    if (tag.version == 2) {
        std::copy_n(header.begin(), 3, frame.id.begin());
        frame.size = bigEndian(bytes.subspan(3, 3));
    } else {
        std::copy_n(header.begin(), 4, frame.id.begin());
        const auto remaining = tag.end - at - frame.headerSize;
        const auto size = tag.version == 3 ? std::optional<std::int64_t>(bigEndian(bytes.subspan(4, 4)))
                                           : version4FrameSize(window, at, bytes.subspan(4, 4), remaining);
        if (!size) return std::nullopt;
        frame.size = *size;
        frame.flags = static_cast<std::uint16_t>(bigEndian(bytes.subspan(8, 2)));
    }
    if (frame.size > tag.end - at - frame.headerSize) return std::nullopt;
    return frame;
}

// Whether the demuxer reads a chapter's body through a transformation (unsynchronisation or
// compression) that a walk of the stored bytes cannot follow.
bool hasTransformedBody(const Id3Tag& tag, const Id3Frame& frame) {
    const std::uint16_t transforms = tag.version == 3 ? 0x0080 : 0x000A;
    return tag.unsynchronised || (frame.flags & transforms) != 0;
}

// A chapter carries frames of its own after its element identifier and four times, each of which
// lands in the chapter's own dictionary.
void countChapterFrames(SourceWindow& window, const Id3Tag& tag, const Id3Frame& frame, std::int64_t body,
                        EntryCount& count) {
    if (hasTransformedBody(tag, frame)) {
        // Every frame inside takes at least a header: the stored size bounds them.
        count.add(frame.size / 10);
        return;
    }
    const std::int64_t end = body + frame.size;
    std::int64_t at = body;
    std::array<std::uint8_t, 1> byte{};
    while (at < end && window.read(at, byte) && byte[0] != 0) ++at;
    at += 1 + 16;
    std::array<std::uint8_t, 10> header{};
    while (end - at > 10 && window.read(at, header)) {
        const std::int64_t size = bigEndian(std::span(header).subspan(4, 4));
        if (size > end - at - 10) return;
        count.add(1);
        at += 10 + size;
    }
}

void countId3Frames(SourceWindow& window, const Id3Tag& tag, EntryCount& count) {
    for (std::int64_t at = tag.framesBegin;;) {
        const auto frame = id3FrameAt(window, tag, at);
        if (!frame) return;
        const std::int64_t body = at + frame->headerSize;
        if (frame->id[0] != 0) count.add(1);
        if (tag.version >= 3 && std::memcmp(frame->id.data(), "CHAP", 4) == 0) {
            countChapterFrames(window, tag, *frame, body, count);
        }
        at = body + frame->size;
    }
}

}  // namespace

std::int64_t countId3Tags(SourceWindow& window, std::int64_t offset, EntryCount& count) {
    while (const auto tag = id3TagAt(window, offset)) {
        countId3Frames(window, *tag, count);
        if (tag->next <= offset) break;
        offset = tag->next;
    }
    return offset;
}

}  // namespace velquor::files
