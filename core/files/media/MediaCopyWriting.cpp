#include "core/files/media/MediaCopyWriting.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/FlacPrivacyCopy.h"
#include "core/files/media/MediaPrivacyRemux.h"
#include "core/files/media/Mp3PrivacyCopy.h"
#include "core/files/media/OggPrivacyCopy.h"

namespace velquor::files {

MediaStreamCounts writeMediaPrivacyCopy(const MediaCopyFormat& format, AvFormatInput& input, int fd,
                                        const MediaDeadline& deadline) {
    switch (format.writer) {
        case MediaCopyWriter::remux:
            return writePrivacyRemux(input, format.muxer, fd, deadline);
        case MediaCopyWriter::mp3Frames:
            return writeMp3PrivacyCopy(input, fd, deadline);
        case MediaCopyWriter::flacBlocks:
            return writeFlacPrivacyCopy(input, fd, deadline);
        case MediaCopyWriter::oggPages:
            return writeOggPrivacyCopy(input, fd, deadline);
    }
    throwExportFailed();
}

}  // namespace velquor::files
