#pragma once

#include "core/files/FileBytes.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace velquor::files {

struct PngChunk {
    std::size_t offset;  // of the length field; the chunk ends 12 + payload.size() bytes later
    std::string_view type;
    ByteView payload;

    ByteView wholeChunk(ByteView data) const { return data.subspan(offset, 12 + payload.size()); }
};

// Hands the chunks after the signature, up to and including IEND, to the visitor in file order,
// holding none of them: an animation of millions of frames costs no more memory than one. The
// visitor returns false to stop. True when IEND was reached; false when a chunk does not fit in
// the data (its declared length is never trusted), IEND never came or the visitor stopped.
bool walkPngChunks(ByteView data, const std::function<bool(const PngChunk&)>& visit);

// The frames of an APNG (its frame control chunks), counted to the end; 1 for a still PNG.
std::size_t apngFrameCount(ByteView data);

// Decompresses zlib data into at most `limit` bytes; what a damaged stream yields before its
// damage is kept.
std::string inflateBounded(ByteView compressed, std::size_t limit);

}  // namespace velquor::files
