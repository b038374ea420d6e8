#include "core/files/media/MediaPrivacyRemux.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/AvFormatOutput.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
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

struct MuxerRules {
    std::string_view muxer;
    std::span<const MuxerOption> options;
    bool matroska;  // blank the application names, restore the codec delay
};

// Matroska's CRC elements would no longer match once the application names are blanked, and a
// WAV copy of a recording over 4 GiB needs the 64-bit RIFF form.
constexpr std::array<MuxerOption, 1> matroskaOptions{{{"write_crc32", "0"}}};
constexpr std::array<MuxerOption, 1> waveOptions{{{"rf64", "auto"}}};

constexpr std::array<MuxerRules, 3> muxerRules{{
    {"matroska", matroskaOptions, true},
    {"webm", matroskaOptions, true},
    {"wav", waveOptions, false},
}};

MuxerRules rulesFor(std::string_view muxer) {
    for (const auto& rules : muxerRules) {
        if (rules.muxer == muxer) return rules;
    }
    return {muxer, {}, false};
}

// Matroska's reader moves a track with a codec delay (Opus) earlier by that delay, and its writer
// stores timestamps as they come: the delay goes back on, so that the copy reads the same.
std::int64_t codecDelay(const AVStream& stream) {
    const AVCodecParameters& parameters = *stream.codecpar;
    if (parameters.initial_padding <= 0 || parameters.sample_rate <= 0) return 0;
    return av_rescale_q(parameters.initial_padding, AVRational{1, parameters.sample_rate}, stream.time_base);
}

void delayBy(AVPacket& packet, std::int64_t delay) {
    if (delay == 0) return;
    if (packet.pts != AV_NOPTS_VALUE) packet.pts += delay;
    if (packet.dts != AV_NOPTS_VALUE) packet.dts += delay;
}

// libavformat writes its own name as Matroska's muxing and writing application, even bit-exact.
void blankApplicationNames(AvFormatOutput& output) {
    const auto names = matroskaApplicationNames(output.head());
    if (!names) throwExportFailed();
    for (const auto& name : *names) output.overwrite(name, 0);
}

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

MediaStreamCounts writePrivacyRemux(AvFormatInput& input, std::string_view muxer, int fd,
                                    const MediaDeadline& deadline) {
    const AVFormatContext& source = input.context();
    const MuxerRules rules = rulesFor(muxer);
    AvFormatOutput output(std::string(muxer).c_str(), fd, maximumCopyByteCount(input.byteCount()), deadline);

    std::vector<AVStream*> copies(source.nb_streams, nullptr);
    std::vector<std::int64_t> copiedPackets(source.nb_streams, -1);
    std::vector<std::int64_t> delays(source.nb_streams, 0);
    MediaStreamCounts written;
    for (unsigned index = 0; index < source.nb_streams; ++index) {
        const AVStream& stream = *source.streams[index];
        if (!isCopied(stream)) continue;
        copies[index] = &output.addStream();
        copiedPackets[index] = 0;
        configureCopy(stream, *copies[index], output.format());
        countCopy(stream, written);
        if (rules.matroska) delays[index] = codecDelay(stream);
    }
    if (written.copied() == 0) throwExportFailed();
    output.writeHeader(rules.options);

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
        delayBy(*packet, delays[index]);
        packet->stream_index = copies[index]->index;
        av_packet_rescale_ts(packet.get(), source.streams[index]->time_base, copies[index]->time_base);
        packet->pos = -1;
        output.writePacket(*packet);
    }
    checkNothingMissing(source, copiedPackets);
    output.finish();
    if (rules.matroska) blankApplicationNames(output);
    return written;
}

}  // namespace velquor::files
