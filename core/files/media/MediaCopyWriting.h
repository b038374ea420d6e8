#pragma once

#include "core/files/media/AvFormatInput.h"
#include "core/files/media/MediaCopyFormat.h"
#include "core/files/media/MediaInspection.h"

namespace velquor::files {

// Writes the privacy copy of an opened file into `fd` with the format's writer; returns the
// streams written.
MediaStreamCounts writeMediaPrivacyCopy(const MediaCopyFormat& format, AvFormatInput& input, int fd,
                                        const MediaDeadline& deadline);

}  // namespace velquor::files
