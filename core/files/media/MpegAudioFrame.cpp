#include "core/files/media/MpegAudioFrame.h"

#include <array>
#include <cstdint>

namespace velquor::files {

namespace {

// Kilobits per second by bitrate index, for MPEG-1 layers I, II, III, then MPEG-2 and 2.5
// layer I, then their layers II and III. Index 0 is free format, 15 is invalid.
constexpr std::array<std::array<int, 16>, 5> bitrates{{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, -1},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, -1},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, -1},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
}};

constexpr std::array<int, 3> mpeg1SampleRates{44100, 48000, 32000};

}  // namespace

std::optional<MpegAudioFrame> mpegAudioFrame(ByteView bytes) {
    if (bytes.size() < 4 || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) return std::nullopt;
    const int version = (bytes[1] >> 3) & 3;  // 0: MPEG-2.5, 2: MPEG-2, 3: MPEG-1
    const int layer = 4 - ((bytes[1] >> 1) & 3);
    const int bitrateIndex = bytes[2] >> 4;
    const int rateIndex = (bytes[2] >> 2) & 3;
    if (version == 1 || layer == 4 || bitrateIndex == 15 || rateIndex == 3) return std::nullopt;
    const bool mpeg1 = version == 3;
    const int table = mpeg1 ? layer - 1 : (layer == 1 ? 3 : 4);
    const long bitrate = bitrates[table][bitrateIndex] * 1000L;
    const long sampleRate = mpeg1SampleRates[rateIndex] >> (mpeg1 ? 0 : (version == 2 ? 1 : 2));
    const long padding = (bytes[2] >> 1) & 1;
    const bool mono = (bytes[3] >> 6) == 3;

    MpegAudioFrame frame;
    if (bitrate > 0) {
        if (layer == 1) {
            frame.length = static_cast<std::size_t>((12 * bitrate / sampleRate + padding) * 4);
        } else {
            const long factor = (layer == 3 && !mpeg1) ? 72 : 144;
            frame.length = static_cast<std::size_t>(factor * bitrate / sampleRate + padding);
        }
    }
    frame.xingOffset = 4 + (mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17));
    return frame;
}

}  // namespace velquor::files
