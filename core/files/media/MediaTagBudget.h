#pragma once

#include "core/files/media/MediaByteSource.h"
#include "core/files/media/MediaDeadline.h"

#include <cstdint>

namespace velquor::files {

// libavformat's tag readers add every entry to a dictionary after a linear search for its key, so a
// few megabytes of tiny entries keep a demuxer busy for minutes inside one call that no deadline
// reaches. Real files carry tens of entries, audio books with chapters a few hundred.
inline constexpr std::int64_t maximumTagEntries = 4096;

// Counts, with bounded reads and before any demuxer sees the file, the entries its dictionary tags
// would add: the frames of the ID3v2 tags at the start of the file or in a WAV or AIFF chunk (with
// the frames inside chapters), Vorbis comments (FLAC, Ogg Vorbis, Opus, Theora, FLAC in Ogg), RIFF
// INFO entries, Matroska SimpleTags, the descriptors and metadata records of Windows Media, and
// APE items. Returns the count; more than maximumTagEntries, or a passed deadline, is
// unreadableFile.
std::int64_t checkTagEntryBudget(MediaByteSource& source, const MediaDeadline& deadline);

}  // namespace velquor::files
