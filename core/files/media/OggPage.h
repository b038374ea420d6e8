#pragma once

#include "core/files/FileBytes.h"
#include "core/files/media/MediaByteSource.h"

#include <cstdint>
#include <vector>

namespace velquor::files {

// One page of an Ogg stream, read whole and checked: the "OggS" capture pattern, version 0, a
// segment table and a body that fit in the file, and a checksum that matches.
struct OggPage {
    std::vector<std::uint8_t> bytes;  // the whole page
    std::uint8_t flags = 0;
    std::uint32_t serial = 0;
    std::uint32_t sequence = 0;
    std::int64_t byteCount = 0;

    bool continuesPacket() const { return (flags & 0x01) != 0; }
    bool beginsStream() const { return (flags & 0x02) != 0; }
    bool endsStream() const { return (flags & 0x04) != 0; }

    struct Packets {
        std::vector<std::vector<std::uint8_t>> completed;  // the first is a tail when continuesPacket()
        std::vector<std::uint8_t> continuing;              // a packet that goes on on the next page
    };

    // The packets the segment table lays out on this page.
    Packets packets() const;

    // The page with another sequence number and its checksum mended; all else as it was.
    std::vector<std::uint8_t> renumbered(std::uint32_t newSequence) const;
};

// The page at `offset`, or unreadableFile.
OggPage readOggPage(MediaByteSource& source, std::int64_t offset);

// The packets laid out over pages of the stream, numbered from `sequence` on (which is advanced);
// a page on which a packet ends has granule position 0, a page inside one has none (all ones).
// The first page begins the stream when `beginsStream` is set.
std::vector<std::vector<std::uint8_t>> oggPages(std::uint32_t serial,
                                                const std::vector<std::vector<std::uint8_t>>& packets,
                                                std::uint32_t& sequence, bool beginsStream);

}  // namespace velquor::files
