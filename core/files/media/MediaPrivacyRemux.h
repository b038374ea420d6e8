#pragma once

#include "core/files/media/AvFormatInput.h"
#include "core/files/media/MediaInspection.h"

#include <chrono>
#include <cstdint>
#include <string_view>

namespace velquor::files {

// Writes the privacy copy of an opened file into `fd` with the named muxer and the options that
// keep libavformat's own name out of it: every audio, video
// and subtitle stream copied packet for packet, with the presentation data of its stream (display
// matrix, stereo and spherical layout, HDR levels) and its disposition. Nothing else: no data or
// timed-metadata stream, no cover art, no chapters, no container, stream or chapter metadata,
// no encoder name. Returns what was written. A file with nothing to copy is exportFailed.
MediaStreamCounts writePrivacyRemux(AvFormatInput& input, std::string_view muxer, int fd,
                                    const MediaDeadline& deadline);

// A copy without metadata is about as large as its source; a far larger one means a hostile
// sample table that repeats the same bytes, and is refused.
std::int64_t maximumCopyByteCount(std::int64_t sourceByteCount);

// Time for a whole export: a minute, and a second for every 4 MiB of the source.
std::chrono::steady_clock::duration exportBudget(std::int64_t sourceByteCount);

}  // namespace velquor::files
