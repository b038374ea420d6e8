#pragma once

#include "core/files/FileBytes.h"
#include "core/files/media/MediaByteSource.h"
#include "core/files/media/MediaDeadline.h"

#include <cstdint>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace velquor::files {

// The plain byte writer behind our own container writers: appends to the copy's descriptor,
// never beyond `maximumByteCount` (exportFailed) nor past the deadline (exportFailed); a failed
// write throws its system error.
class MediaCopyOutput {
public:
    MediaCopyOutput(int fd, std::int64_t maximumByteCount, const MediaDeadline& deadline)
        : fd_(fd), maximumByteCount_(maximumByteCount), deadline_(deadline) {}

    std::int64_t size() const { return size_; }

    void append(ByteView bytes);

    // Rewrites bytes already appended.
    void overwrite(std::int64_t offset, ByteView bytes);

private:
    int fd_;
    std::int64_t maximumByteCount_;
    const MediaDeadline& deadline_;
    std::int64_t size_ = 0;
};

// Exactly `count` bytes of the source at `offset`; a source that ends sooner is unreadableFile,
// a failed read its system error.
std::vector<std::uint8_t> readSourceBytes(MediaByteSource& source, std::int64_t offset, std::size_t count);

// The index of the one audio stream of a file that must have exactly one; else exportFailed.
int soleAudioStream(const AVFormatContext& context);

// Past the ID3v2 tags at `offset` (none, one or several in a row): where the audio begins.
std::int64_t skipId3v2Tags(MediaByteSource& source, std::int64_t offset);

}  // namespace velquor::files
