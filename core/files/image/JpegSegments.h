#pragma once

#include "core/files/FileBytes.h"

#include <cstdint>
#include <functional>

namespace velquor::files {

// One marker segment in the header of a JPEG, before the first scan.
struct JpegSegment {
    std::uint8_t marker;        // 0xE1 for APP1
    std::size_t payloadOffset;  // after the two length bytes
    std::size_t payloadLength;
};

// Walks the header segments of data that starts with 0xFF 0xD8, from segment to segment by
// their declared lengths, never into the compressed image. Stops at the first start of scan,
// at the end of the image, at a stray byte, and at a length that does not fit; stops early
// when `visit` returns false. Does nothing for data that is not a JPEG.
void walkJpegHeaderSegments(ByteView data, const std::function<bool(const JpegSegment&)>& visit);

}  // namespace velquor::files
