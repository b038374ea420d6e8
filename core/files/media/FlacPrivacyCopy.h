#pragma once

#include "core/files/media/AvFormatInput.h"
#include "core/files/media/MediaDeadline.h"
#include "core/files/media/MediaInspection.h"

namespace velquor::files {

// The privacy copy of a FLAC file: the signature, the stream information and the seek tables,
// then every frame as the demuxer reads it. No Vorbis comment, picture, cue sheet, application
// or padding block, no ID3 or APE tag. Each frame's checksum is checked, and the frames must add
// up to the sample count the stream information gives, so a file cut short is unreadableFile.
// Where the frames did not follow each other in the source, the seek points no longer point at
// frames and become placeholders.
MediaStreamCounts writeFlacPrivacyCopy(AvFormatInput& input, int fd, const MediaDeadline& deadline);

}  // namespace velquor::files
