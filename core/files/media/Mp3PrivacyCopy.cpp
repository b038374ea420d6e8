#include "core/files/media/Mp3PrivacyCopy.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/MediaCopyOutput.h"
#include "core/files/media/MediaPrivacyRemux.h"
#include "core/files/media/MpegAudioFrame.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/crc.h>
}

namespace velquor::files {

namespace {

struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

// Releases the data of the packet in hand on every path.
struct PacketInHand {
    AVPacket* packet;
    ~PacketInHand() { av_packet_unref(packet); }
};

constexpr std::size_t encoderLength = 9;
constexpr std::size_t delayOffset = 21;  // in the LAME tag: 12 bits of delay, 12 of padding
constexpr std::size_t checksumOffset = 34;
constexpr std::size_t lameTagLength = 36;
constexpr std::array<std::string_view, 4> knownFamilies{"LAME", "Lavc", "Lavf", "GOGO"};

bool startsWith(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::string_view text) {
    return offset + text.size() <= bytes.size() && std::memcmp(bytes.data() + offset, text.data(), text.size()) == 0;
}

// Where the LAME tag starts: behind the Xing fields that the flags announce.
std::optional<std::size_t> lameTagOffset(const std::vector<std::uint8_t>& frame, std::size_t xing) {
    if (xing + 8 > frame.size()) return std::nullopt;
    const std::uint8_t flags = frame[xing + 7];
    std::size_t offset = xing + 8;
    if ((flags & 1) != 0) offset += 4;
    if ((flags & 2) != 0) offset += 4;
    if ((flags & 4) != 0) offset += 100;
    if ((flags & 8) != 0) offset += 4;
    if (offset + lameTagLength > frame.size()) return std::nullopt;
    return offset;
}

std::uint16_t tagChecksum(const std::vector<std::uint8_t>& frame, std::size_t length) {
    return static_cast<std::uint16_t>(av_crc(av_crc_get_table(AV_CRC_16_ANSI_LE), 0, frame.data(), length));
}

std::optional<std::size_t> xingHeaderOffset(const std::vector<std::uint8_t>& frame) {
    const auto header = mpegAudioFrame(frame);
    if (!header) return std::nullopt;
    if (startsWith(frame, header->xingOffset, "Xing") || startsWith(frame, header->xingOffset, "Info")) {
        return header->xingOffset;
    }
    return std::nullopt;
}

bool isHeaderFrame(const std::vector<std::uint8_t>& frame) {
    return xingHeaderOffset(frame) || startsWith(frame, MpegAudioFrame::vbriOffset, "VBRI");
}

// The frame in front of the first audio packet, when it is a header frame that ends right there.
std::optional<std::vector<std::uint8_t>> headerFrame(MediaByteSource& source, std::int64_t firstAudio) {
    const std::int64_t start = skipId3v2Tags(source, 0);
    if (start + 4 > firstAudio) return std::nullopt;
    const auto header = mpegAudioFrame(readSourceBytes(source, start, 4));
    if (!header || header->length == 0 || start + static_cast<std::int64_t>(header->length) != firstAudio) {
        return std::nullopt;
    }
    auto frame = readSourceBytes(source, start, header->length);
    if (!isHeaderFrame(frame)) return std::nullopt;
    return frame;
}

void checkFrame(const AVPacket& packet) {
    if ((packet.flags & AV_PKT_FLAG_CORRUPT) != 0 || packet.size < 4) throwUnreadableFile();
    const auto header = mpegAudioFrame({packet.data, static_cast<std::size_t>(packet.size)});
    if (!header || (header->length != 0 && header->length != static_cast<std::size_t>(packet.size))) {
        throwUnreadableFile();
    }
}

}  // namespace

std::vector<std::uint8_t> withoutEncoderVersion(std::vector<std::uint8_t> frame) {
    const auto xing = xingHeaderOffset(frame);
    if (!xing) return frame;
    const auto lame = lameTagOffset(frame, *xing);
    if (!lame) return frame;
    const std::size_t checked = *lame + checksumOffset;
    const std::uint16_t stored = static_cast<std::uint16_t>((frame[checked] << 8) | frame[checked + 1]);
    const bool checksumHeld = tagChecksum(frame, checked) == stored;

    const bool knownFamily = std::any_of(knownFamilies.begin(), knownFamilies.end(),
                                         [&](std::string_view family) { return startsWith(frame, *lame, family); });
    const bool gapless =
        frame[*lame + delayOffset] != 0 || frame[*lame + delayOffset + 1] != 0 || frame[*lame + delayOffset + 2] != 0;
    const std::size_t kept = knownFamily && gapless ? 4 : 0;
    std::fill(frame.begin() + static_cast<std::ptrdiff_t>(*lame + kept),
              frame.begin() + static_cast<std::ptrdiff_t>(*lame + encoderLength), 0);

    if (checksumHeld) {
        const std::uint16_t mended = tagChecksum(frame, checked);
        frame[checked] = static_cast<std::uint8_t>(mended >> 8);
        frame[checked + 1] = static_cast<std::uint8_t>(mended & 0xFF);
    }
    return frame;
}

MediaStreamCounts writeMp3PrivacyCopy(AvFormatInput& input, int fd, const MediaDeadline& deadline) {
    const int audio = soleAudioStream(input.context());
    MediaCopyOutput output(fd, maximumCopyByteCount(input.byteCount()), deadline);
    const std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!packet) throwExportFailed();

    bool first = true;
    while (input.readPacket(*packet)) {
        const PacketInHand held{packet.get()};
        if (packet->stream_index != audio) continue;
        checkFrame(*packet);
        if (first && packet->pos > 0) {
            if (const auto header = headerFrame(input.source(), packet->pos)) {
                output.append(withoutEncoderVersion(*header));
            }
        }
        first = false;
        output.append({packet->data, static_cast<std::size_t>(packet->size)});
    }
    if (first) throwUnreadableFile();
    return {.audio = 1};
}

}  // namespace velquor::files
