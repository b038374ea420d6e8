#include "core/files/media/FlacPrivacyCopy.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/MediaCopyOutput.h"
#include "core/files/media/MediaPrivacyRemux.h"

#include <algorithm>
#include <memory>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/crc.h>
}

namespace velquor::files {

namespace {

constexpr std::uint8_t streamInfoType = 0;
constexpr std::uint8_t seekTableType = 3;
constexpr std::size_t blockHeaderSize = 4;
constexpr std::size_t streamInfoSize = 34;
constexpr std::size_t seekPointSize = 18;

struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

struct PacketInHand {
    AVPacket* packet;
    ~PacketInHand() { av_packet_unref(packet); }
};

struct KeptBlock {
    std::uint8_t type;
    std::vector<std::uint8_t> body;
};

struct FlacHeader {
    std::vector<KeptBlock> blocks;  // the stream information first
    std::int64_t framesOffset = 0;
};

// Walks the metadata blocks and keeps the ones that say how to play and seek; every length is
// checked against the file before anything is read.
FlacHeader readHeader(MediaByteSource& source) {
    std::int64_t at = skipId3v2Tags(source, 0);
    const auto signature = readSourceBytes(source, at, 4);
    if (signature != std::vector<std::uint8_t>{'f', 'L', 'a', 'C'}) throwUnreadableFile();
    at += 4;
    FlacHeader header;
    for (bool last = false; !last;) {
        const auto blockHeader = readSourceBytes(source, at, blockHeaderSize);
        last = (blockHeader[0] & 0x80) != 0;
        const std::uint8_t type = blockHeader[0] & 0x7F;
        const std::size_t length =
            (std::size_t{blockHeader[1]} << 16) | (std::size_t{blockHeader[2]} << 8) | blockHeader[3];
        at += blockHeaderSize;
        const bool first = header.blocks.empty();
        if (first != (type == streamInfoType) || (first && length != streamInfoSize)) throwUnreadableFile();
        if (type == streamInfoType || (type == seekTableType && length % seekPointSize == 0)) {
            header.blocks.push_back({type, readSourceBytes(source, at, length)});
        } else if (static_cast<std::int64_t>(length) > source.size() - at) {
            throwUnreadableFile();
        }
        at += static_cast<std::int64_t>(length);
    }
    header.framesOffset = at;
    return header;
}

std::vector<std::uint8_t> blockBytes(const KeptBlock& block, bool last) {
    const std::size_t length = block.body.size();
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>((last ? 0x80 : 0) | block.type),
                                    static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 8),
                                    static_cast<std::uint8_t>(length)};
    bytes.insert(bytes.end(), block.body.begin(), block.body.end());
    return bytes;
}

// The 36-bit sample count in the stream information; 0 when the encoder did not know it.
std::int64_t totalSamples(const std::vector<std::uint8_t>& streamInfo) {
    std::int64_t total = streamInfo[13] & 0x0F;
    for (std::size_t i = 14; i < 18; ++i) total = (total << 8) | streamInfo[i];
    return total;
}

// The frame ends in a CRC-16 of everything before it, so the CRC over the whole frame is zero.
void checkFrame(const AVPacket& packet) {
    if ((packet.flags & AV_PKT_FLAG_CORRUPT) != 0 || packet.size < 6) throwUnreadableFile();
    if (av_crc(av_crc_get_table(AV_CRC_16_ANSI), 0, packet.data, static_cast<std::size_t>(packet.size)) != 0) {
        throwUnreadableFile();
    }
}

// Each seek point becomes a placeholder: sample number all ones, offset and count zero.
std::vector<std::uint8_t> placeholders(std::size_t length) {
    std::vector<std::uint8_t> points(length, 0);
    for (std::size_t at = 0; at < length; at += seekPointSize) std::fill_n(points.begin() + at, 8, 0xFF);
    return points;
}

}  // namespace

MediaStreamCounts writeFlacPrivacyCopy(AvFormatInput& input, int fd, const MediaDeadline& deadline) {
    const int audio = soleAudioStream(input.context());
    const FlacHeader header = readHeader(input.source());
    MediaCopyOutput output(fd, maximumCopyByteCount(input.byteCount()), deadline);
    output.append(std::vector<std::uint8_t>{'f', 'L', 'a', 'C'});
    std::vector<std::int64_t> seekTableOffsets;
    for (std::size_t i = 0; i < header.blocks.size(); ++i) {
        if (header.blocks[i].type == seekTableType) seekTableOffsets.push_back(output.size() + blockHeaderSize);
        output.append(blockBytes(header.blocks[i], i + 1 == header.blocks.size()));
    }

    const std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!packet) throwExportFailed();
    std::int64_t expectedPosition = header.framesOffset;
    bool contiguous = true;
    std::int64_t samplesEnd = 0;
    std::int64_t frames = 0;
    while (input.readPacket(*packet)) {
        const PacketInHand held{packet.get()};
        if (packet->stream_index != audio) continue;
        checkFrame(*packet);
        contiguous = contiguous && packet->pos == expectedPosition;
        expectedPosition = packet->pos + packet->size;
        if (packet->pts != AV_NOPTS_VALUE) samplesEnd = std::max(samplesEnd, packet->pts + packet->duration);
        ++frames;
        output.append({packet->data, static_cast<std::size_t>(packet->size)});
    }
    const AVStream& stream = *input.context().streams[audio];
    const auto total = totalSamples(header.blocks.front().body);
    if (stream.codecpar->sample_rate > 0) {
        samplesEnd = av_rescale_q(samplesEnd, stream.time_base, AVRational{1, stream.codecpar->sample_rate});
    }
    if (frames == 0 || (total > 0 && samplesEnd < total)) throwUnreadableFile();
    if (!contiguous) {
        for (std::size_t i = 0, table = 0; i < header.blocks.size(); ++i) {
            if (header.blocks[i].type != seekTableType) continue;
            output.overwrite(seekTableOffsets[table++], placeholders(header.blocks[i].body.size()));
        }
    }
    return {.audio = 1};
}

}  // namespace velquor::files
