#pragma once

#include "core/files/FileBytes.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace velquor::files {

struct PngChunk {
    std::size_t offset;  // of the length field; the chunk ends 12 + payload.size() bytes later
    std::string_view type;
    ByteView payload;

    ByteView wholeChunk(ByteView data) const { return data.subspan(offset, 12 + payload.size()); }
};

// The chunks after the signature, up to and including IEND. `complete` is false when a chunk
// does not fit in the data (its declared length is never trusted) or IEND never came.
struct PngChunkList {
    std::vector<PngChunk> chunks;
    bool complete = false;
};

PngChunkList readPngChunks(ByteView data);

// Decompresses zlib data into at most `limit` bytes; what a damaged stream yields before its
// damage is kept.
std::string inflateBounded(ByteView compressed, std::size_t limit);

}  // namespace velquor::files
