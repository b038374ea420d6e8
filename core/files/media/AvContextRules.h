#pragma once

#include "core/files/media/MediaDeadline.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace velquor::files {

// The rules every libavformat context here follows, whether it reads or writes.

// libavformat reports every oddity of a damaged file on standard error, which would reach the
// terminal or the desktop session's log. Our callers get errors as exceptions instead.
void silenceLibraryLogging();

// Makes the context read or write through our own I/O only and stop at the deadline. Whatever
// the library would open by name besides (a playlist's entries, references to external media,
// a muxer's extra outputs) is refused, so no file or URL is ever opened behind our back.
void confineToOwnIo(AVFormatContext& context, AVIOContext* io, const MediaDeadline& deadline);

}  // namespace velquor::files
