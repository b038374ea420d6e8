#pragma once

#include "core/files/media/AvFormatInput.h"
#include "core/files/media/MediaDeadline.h"
#include "core/files/media/MediaInspection.h"

namespace velquor::files {

// The privacy copy of an Ogg file with Vorbis, Opus or FLAC streams, written page by page: each
// stream's identification header as it is, its comment header replaced by an empty one (no
// vendor, no comments, so no cover art either), a FLAC stream's other metadata blocks dropped,
// then every audio page as it is, renumbered and with its checksum mended. Granule positions,
// and so timing and gapless trimming, stay exactly as they were. A page that is damaged or cut
// short, or a stream that never ends, is unreadableFile; a stream of another codec is
// exportFailed.
MediaStreamCounts writeOggPrivacyCopy(AvFormatInput& input, int fd, const MediaDeadline& deadline);

}  // namespace velquor::files
