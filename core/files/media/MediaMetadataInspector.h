#pragma once

#include "core/files/FileInspector.h"

#include <filesystem>

namespace velquor::files {

// Audio and video through libavformat. Inspection lists every metadata item of the container,
// its streams and its chapters in the sections "Location", "Capture", "Description" and "Media",
// with the number of timed-metadata tracks and the duration. The privacy copy, for every audio
// and video type it reads, copies the audio, video and subtitle streams packet for packet into a
// new container of the same type without any metadata, keeping the rotation of the picture.
class MediaMetadataInspector final : public FileInspector {
public:
    FileMetadataReport inspect(const std::filesystem::path& file) const override;

    void exportPrivacyCopy(const std::filesystem::path& source,
                           const std::filesystem::path& destination) const override;

    bool failsPrivacyVerification(const FileMetadataReport& report) const override;
};

}  // namespace velquor::files
