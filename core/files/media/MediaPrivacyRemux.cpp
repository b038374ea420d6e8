#include "core/files/media/MediaPrivacyRemux.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/AvFormatOutput.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace velquor::files {

namespace {

// How a picture is shown, never who made it or where.
constexpr std::array<AVPacketSideDataType, 6> presentationSideData{
    AV_PKT_DATA_DISPLAYMATRIX,       AV_PKT_DATA_STEREO3D,
    AV_PKT_DATA_SPHERICAL,           AV_PKT_DATA_MASTERING_DISPLAY_METADATA,
    AV_PKT_DATA_CONTENT_LIGHT_LEVEL, AV_PKT_DATA_DOVI_CONF,
};

constexpr std::int64_t copyAllowance = std::int64_t{64} << 20;
constexpr std::int64_t bytesPerBudgetSecond = std::int64_t{4} << 20;

struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

bool isCopied(const AVStream& stream) {
    if (isPictureStream(stream)) return false;
    const auto type = stream.codecpar->codec_type;
    return type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO || type == AVMEDIA_TYPE_SUBTITLE;
}

// The source's codec tag when the output container knows it for the same codec (or has no tag
// table, or none for this codec); otherwise the muxer picks its own.
unsigned keptCodecTag(const AVOutputFormat& format, const AVCodecParameters& parameters) {
    unsigned known = 0;
    if (format.codec_tag == nullptr || av_codec_get_id(format.codec_tag, parameters.codec_tag) == parameters.codec_id ||
        av_codec_get_tag2(format.codec_tag, parameters.codec_id, &known) == 0) {
        return parameters.codec_tag;
    }
    return 0;
}

void copyPresentationSideData(const AVStream& from, AVStream& to) {
    for (int index = 0; index < from.nb_side_data; ++index) {
        const AVPacketSideData& item = from.side_data[index];
        if (std::find(presentationSideData.begin(), presentationSideData.end(), item.type) ==
            presentationSideData.end()) {
            continue;
        }
        std::uint8_t* data = av_stream_new_side_data(&to, item.type, item.size);
        if (data == nullptr) throwExportFailed();
        std::memcpy(data, item.data, item.size);
    }
}

void configureCopy(const AVStream& source, AVStream& copy, const AVOutputFormat& format) {
    if (avcodec_parameters_copy(copy.codecpar, source.codecpar) < 0) throwExportFailed();
    copy.codecpar->codec_tag = keptCodecTag(format, *source.codecpar);
    copy.time_base = source.time_base;
    copy.avg_frame_rate = source.avg_frame_rate;
    copy.r_frame_rate = source.r_frame_rate;
    copy.sample_aspect_ratio = source.sample_aspect_ratio;
    copy.disposition = source.disposition;
    copyPresentationSideData(source, copy);
}

void countCopy(const AVStream& stream, MediaStreamCounts& counts) {
    switch (stream.codecpar->codec_type) {
        case AVMEDIA_TYPE_AUDIO:
            ++counts.audio;
            break;
        case AVMEDIA_TYPE_VIDEO:
            ++counts.video;
            break;
        default:
            ++counts.subtitle;
            break;
    }
}

// A truncated file ends early without an error: its last sample comes back short and flagged
// corrupt, and the samples its index lists beyond the end never come. Either way the copy would
// silently lose the end of the recording.
void checkNothingMissing(const AVFormatContext& source, const std::vector<std::int64_t>& copiedPackets) {
    for (unsigned index = 0; index < source.nb_streams && index < copiedPackets.size(); ++index) {
        const int listed = avformat_index_get_entries_count(source.streams[index]);
        if (copiedPackets[index] >= 0 && copiedPackets[index] < listed) throwUnreadableFile();
    }
}

}  // namespace

std::int64_t maximumCopyByteCount(std::int64_t sourceByteCount) {
    const auto limit = std::numeric_limits<std::int64_t>::max() / 4;
    return 2 * std::clamp<std::int64_t>(sourceByteCount, 0, limit) + copyAllowance;
}

std::chrono::steady_clock::duration exportBudget(std::int64_t sourceByteCount) {
    return std::chrono::minutes(1) +
           std::chrono::seconds(std::max<std::int64_t>(sourceByteCount, 0) / bytesPerBudgetSecond);
}

MediaStreamCounts writePrivacyRemux(AvFormatInput& input, const char* muxerName, int fd,
                                    const MediaDeadline& deadline) {
    const AVFormatContext& source = input.context();
    AvFormatOutput output(muxerName, fd, maximumCopyByteCount(input.byteCount()), deadline);

    std::vector<AVStream*> copies(source.nb_streams, nullptr);
    std::vector<std::int64_t> copiedPackets(source.nb_streams, -1);
    MediaStreamCounts written;
    for (unsigned index = 0; index < source.nb_streams; ++index) {
        const AVStream& stream = *source.streams[index];
        if (!isCopied(stream)) continue;
        copies[index] = &output.addStream();
        copiedPackets[index] = 0;
        configureCopy(stream, *copies[index], output.format());
        countCopy(stream, written);
    }
    if (written.copied() == 0) throwExportFailed();
    output.writeHeader();

    const std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!packet) throwExportFailed();
    while (input.readPacket(*packet)) {
        const int index = packet->stream_index;
        // A stream that appears after the header was read was never set up for the copy.
        if (index < 0 || static_cast<std::size_t>(index) >= copies.size() || copies[index] == nullptr) {
            av_packet_unref(packet.get());
            continue;
        }
        if ((packet->flags & AV_PKT_FLAG_CORRUPT) != 0) throwUnreadableFile();
        ++copiedPackets[index];
        packet->stream_index = copies[index]->index;
        av_packet_rescale_ts(packet.get(), source.streams[index]->time_base, copies[index]->time_base);
        packet->pos = -1;
        output.writePacket(*packet);
    }
    checkNothingMissing(source, copiedPackets);
    output.finish();
    return written;
}

}  // namespace velquor::files
