#pragma once

#include "core/files/FileBytes.h"
#include "core/files/media/MatroskaApplicationNames.h"
#include "core/files/media/MediaDeadline.h"

#include <cstdint>
#include <memory>
#include <span>

extern "C" {
#include <libavformat/avformat.h>
}

namespace velquor::files {

// One of a muxer's private options, such as {"write_crc32", "0"}.
struct MuxerOption {
    const char* name;
    const char* value;
};

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

    // Every option must be one the muxer takes, else exportFailed.
    void writeHeader(std::span<const MuxerOption> options = {});

    // Takes the packet's data; its timestamps must already be in the output stream's time base.
    void writePacket(AVPacket& packet);

    // Flushes the interleaving queue and writes the index; the file is complete afterwards.
    void finish();

    // The first 64 KiB of the file as written so far, where containers keep their headers.
    ByteView head() const;

    // Overwrites bytes already written (after finish(), once the muxer is done with them).
    void overwrite(const ByteRange& range, std::uint8_t value);

private:
    struct Writer;

    void release() noexcept;
    void check(int result) const;

    std::unique_ptr<Writer> writer_;
    AVIOContext* io_ = nullptr;
    AVFormatContext* context_ = nullptr;
};

}  // namespace velquor::files
