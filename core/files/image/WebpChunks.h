#pragma once

#include "core/files/FileBytes.h"

#include <string_view>
#include <vector>

namespace velquor::files {

struct RiffChunk {
    std::string_view fourcc;
    std::size_t offset;  // of the four-character code
    ByteView payload;    // without the padding byte of an odd size

    std::size_t paddedEnd() const { return offset + 8 + payload.size() + (payload.size() & 1); }
};

// The chunks between `begin` and `end`, each padded to an even size. `complete` is false when a
// chunk's declared size runs past `end`.
struct RiffChunkList {
    std::vector<RiffChunk> chunks;
    bool complete = true;
};

RiffChunkList readRiffChunks(ByteView data, std::size_t begin, std::size_t end);

// The end of a WebP's RIFF body: the declared RIFF size, but never past the data.
std::size_t webpBodyEnd(ByteView data);

// The frames of an animated WebP (its ANMF chunks), counted to the end; 1 for a still picture.
std::size_t webpFrameCount(ByteView data);

// Size of the fixed header of an ANMF payload, before the frame's own chunks.
inline constexpr std::size_t animationFrameHeaderSize = 16;

}  // namespace velquor::files
