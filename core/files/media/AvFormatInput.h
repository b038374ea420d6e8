#pragma once

#include "core/files/media/MediaByteSource.h"
#include "core/files/media/MediaDeadline.h"

#include <memory>
#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

namespace velquor::files {

// A demuxer over a byte source, opened for hostile input: only the audio and video demuxers we
// support may claim the file, probing and stream analysis read a bounded amount, nothing may
// open another file or URL, every step stops at the deadline, and tags with more entries than the
// demuxer's dictionaries take in time are refused before it sees them. Failing to open or read is
// unreadableFile, or the system error of a failed read.
class AvFormatInput {
public:
    // `nameHint` is the file name; its extension helps probing, nothing is opened by it.
    AvFormatInput(std::unique_ptr<MediaByteSource> source, const std::string& nameHint, const MediaDeadline& deadline);
    ~AvFormatInput();
    AvFormatInput(const AvFormatInput&) = delete;
    AvFormatInput& operator=(const AvFormatInput&) = delete;

    const AVFormatContext& context() const { return *context_; }
    std::int64_t byteCount() const;

    // The bytes the demuxer reads, for writers that copy parts of the container as they are.
    MediaByteSource& source() const;

    // The next packet into `packet`; false at the end of the file. A damaged file or a passed
    // deadline throws rather than ending early, so a copy is never silently cut short.
    bool readPacket(AVPacket& packet);

    // Bounds for the probing and analysis of a file's streams.
    static constexpr std::int64_t probeByteCount = 5'000'000;
    static constexpr std::int64_t analyzeMicroseconds = 5'000'000;
    static constexpr unsigned maximumStreams = 100;

private:
    struct Reader;

    void release() noexcept;
    [[noreturn]] void throwReadFailure() const;

    std::unique_ptr<Reader> reader_;
    AVIOContext* io_ = nullptr;
    AVFormatContext* context_ = nullptr;
};

}  // namespace velquor::files
