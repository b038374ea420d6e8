#pragma once

#include "core/files/FileBytes.h"

#include <cstddef>
#include <optional>

namespace velquor::files {

// What the four header bytes of an MPEG audio frame (MP1, MP2, MP3) say about the frame.
struct MpegAudioFrame {
    std::size_t length = 0;      // 0 for a free-format frame, whose length the header does not tell
    std::size_t xingOffset = 0;  // where a Xing or Info header would start
    static constexpr std::size_t vbriOffset = 36;
};

// The frame whose header starts `bytes`; nothing when they are no valid frame header.
std::optional<MpegAudioFrame> mpegAudioFrame(ByteView bytes);

}  // namespace velquor::files
