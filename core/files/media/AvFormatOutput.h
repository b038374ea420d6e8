#pragma once

#include "core/files/media/MediaDeadline.h"

#include <cstdint>
#include <memory>

extern "C" {
#include <libavformat/avformat.h>
}

namespace velquor::files {

// A muxer writing into an open file descriptor (which the caller owns and closes) through our
// own I/O callbacks, so that no path is ever opened by the library. Writing is bit-exact: no
// encoder name or library version lands in the file. The file may not grow beyond
// `maximumByteCount`; a muxer failure is exportFailed, a failed write its system error.
class AvFormatOutput {
public:
    AvFormatOutput(const char* muxerName, int fd, std::int64_t maximumByteCount, const MediaDeadline& deadline);
    ~AvFormatOutput();
    AvFormatOutput(const AvFormatOutput&) = delete;
    AvFormatOutput& operator=(const AvFormatOutput&) = delete;

    const AVOutputFormat& format() const { return *context_->oformat; }

    // A new stream, or exportFailed.
    AVStream& addStream();

    void writeHeader();

    // Takes the packet's data; its timestamps must already be in the output stream's time base.
    void writePacket(AVPacket& packet);

    // Flushes the interleaving queue and writes the index; the file is complete afterwards.
    void finish();

private:
    struct Writer;

    void release() noexcept;
    void check(int result) const;

    std::unique_ptr<Writer> writer_;
    AVIOContext* io_ = nullptr;
    AVFormatContext* context_ = nullptr;
};

}  // namespace velquor::files
