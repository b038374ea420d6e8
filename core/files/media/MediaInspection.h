#pragma once

#include "core/files/FileMetadataReport.h"
#include "core/files/media/AvFormatInput.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velquor::files {

// What a file's streams are, by what a privacy copy does with them.
struct MediaStreamCounts {
    int audio = 0;
    int video = 0;
    int subtitle = 0;
    int data = 0;      // timed metadata, timecode and chapter tracks
    int pictures = 0;  // cover art and thumbnail streams: metadata, not media
    int other = 0;     // attachments and streams of unknown type

    int copied() const { return audio + video + subtitle; }

    friend bool operator==(const MediaStreamCounts&, const MediaStreamCounts&) = default;
};

struct MediaInspection {
    std::vector<FileMetadataEntry> entries;  // in report order
    MediaStreamCounts streams;
    std::optional<double> durationSeconds;  // only a finite duration above zero
    std::int64_t byteCount = 0;
};

// Every metadata item of the container, then of each stream, then of each chapter, one entry per
// id (the first wins); cover art as an "artwork" entry; the number of data streams; the duration.
MediaInspection inspectMedia(const AVFormatContext& context);

// Opens the source like a file of the given name and inspects it within the inspection budget.
MediaInspection inspectMediaSource(std::unique_ptr<MediaByteSource> source, const std::string& nameHint);

// The longest one inspection may take, however the file was made.
inline constexpr std::chrono::seconds inspectionBudget{30};

// The container's duration in seconds, when it is finite and above zero.
std::optional<double> containerDurationSeconds(const AVFormatContext& context);

// Whether a stream is cover art or a thumbnail track rather than a picture that plays.
bool isPictureStream(const AVStream& stream);

// "83.3 seconds".
std::u16string durationText(double seconds);

}  // namespace velquor::files
