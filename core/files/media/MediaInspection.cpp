#include "core/files/media/MediaInspection.h"

#include "core/files/EntryOrder.h"
#include "core/files/MetadataText.h"
#include "core/files/media/MediaEntries.h"

#include "core/text/base/TextConversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_set>

namespace velquor::files {

namespace {

class EntryCollector {
public:
    void add(std::optional<FileMetadataEntry> entry) {
        if (entry && seen_.insert(entry->id).second) entries_.push_back(std::move(*entry));
    }

    void addDictionary(const AVDictionary* dictionary) {
        const AVDictionaryEntry* item = nullptr;
        while ((item = av_dict_get(dictionary, "", item, AV_DICT_IGNORE_SUFFIX)) != nullptr) {
            add(mediaEntry(metadataText(item->key), metadataText(item->value)));
        }
    }

    std::vector<FileMetadataEntry> take() { return std::move(entries_); }

private:
    std::vector<FileMetadataEntry> entries_;
    std::unordered_set<std::u16string> seen_;
};

void countStream(const AVStream& stream, MediaStreamCounts& counts) {
    if (isPictureStream(stream)) {
        ++counts.pictures;
        return;
    }
    switch (stream.codecpar->codec_type) {
        case AVMEDIA_TYPE_AUDIO:
            ++counts.audio;
            break;
        case AVMEDIA_TYPE_VIDEO:
            ++counts.video;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            ++counts.subtitle;
            break;
        case AVMEDIA_TYPE_DATA:
            ++counts.data;
            break;
        default:
            ++counts.other;
            break;
    }
}

std::u16string byteCountText(std::int64_t count) { return text::widenedAscii(std::to_string(count)) + u" bytes"; }

// A file carried along in the container (a font, a picture, a document): its name when it has one.
std::u16string attachmentText(const AVStream& stream) {
    const auto size = byteCountText(std::max(stream.codecpar->extradata_size, 0));
    const AVDictionaryEntry* name = av_dict_get(stream.metadata, "filename", nullptr, 0);
    if (name == nullptr || *name->value == '\0') return size;
    return metadataText(name->value) + u", " + size;
}

}  // namespace

// The container's duration is read from the file and may be anything: only a positive count of
// microseconds is a duration.
std::optional<double> containerDurationSeconds(const AVFormatContext& context) {
    if (context.duration == AV_NOPTS_VALUE || context.duration <= 0) return std::nullopt;
    const double seconds = static_cast<double>(context.duration) / AV_TIME_BASE;
    return std::isfinite(seconds) && seconds > 0 ? std::optional(seconds) : std::nullopt;
}

bool isPictureStream(const AVStream& stream) {
    return (stream.disposition & (AV_DISPOSITION_ATTACHED_PIC | AV_DISPOSITION_TIMED_THUMBNAILS)) != 0;
}

std::u16string durationText(double seconds) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 1);
    if (error != std::errc()) return u"";
    return text::widenedAscii(std::string_view(buffer, static_cast<std::size_t>(end - buffer))) + u" seconds";
}

MediaInspection inspectMedia(const AVFormatContext& context) {
    MediaInspection inspection;
    EntryCollector collector;
    collector.addDictionary(context.metadata);
    for (unsigned index = 0; index < context.nb_streams; ++index) {
        const AVStream& stream = *context.streams[index];
        countStream(stream, inspection.streams);
        collector.addDictionary(stream.metadata);
        if (isPictureStream(stream) && stream.attached_pic.size > 0) {
            collector.add(mediaEntry(u"artwork", byteCountText(stream.attached_pic.size)));
        }
        if (stream.codecpar->codec_type == AVMEDIA_TYPE_ATTACHMENT) {
            collector.add(mediaEntry(u"attachment", attachmentText(stream)));
        }
    }
    for (unsigned index = 0; index < context.nb_chapters; ++index) {
        collector.addDictionary(context.chapters[index]->metadata);
    }
    inspection.entries = collector.take();
    if (inspection.streams.data > 0) {
        inspection.entries.push_back({u"timed-metadata-tracks", u"Media", u"Timed metadata tracks",
                                      text::widenedAscii(std::to_string(inspection.streams.data))});
    }
    inspection.durationSeconds = containerDurationSeconds(context);
    if (inspection.durationSeconds) {
        inspection.entries.push_back({u"duration", u"Media", u"Duration", durationText(*inspection.durationSeconds)});
    }
    sortEntries(inspection.entries);
    return inspection;
}

MediaInspection inspectMediaSource(std::unique_ptr<MediaByteSource> source, const std::string& nameHint) {
    const MediaDeadline deadline(inspectionBudget);
    const AvFormatInput input(std::move(source), nameHint, deadline);
    auto inspection = inspectMedia(input.context());
    inspection.byteCount = input.byteCount();
    return inspection;
}

}  // namespace velquor::files
