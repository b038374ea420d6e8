#pragma once

#include "core/files/FileInspector.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace velquor::files {

// Audio and video through libavformat. Inspection lists every metadata item of the container,
// its streams and its chapters in the sections "Location", "Capture", "Description" and "Media",
// with the number of timed-metadata tracks and the duration. The privacy copy, for every audio
// and video type it reads, copies the audio, video and subtitle streams packet for packet into a
// new container of the same type without any metadata, keeping the rotation of the picture.
class MediaMetadataInspector final : public FileInspector {
public:
    // The extension names a known type, and that type is audio or video or the extension is one of
    // the media extensions every build supports.
    static bool isSupported(const std::filesystem::path& file);

    // Every type with a copy format (MediaCopyFormat) gets privacy copies.
    static bool canExportPrivacyCopy(const std::filesystem::path& file);

    FileMetadataReport inspect(const std::filesystem::path& file) const override;

    void exportPrivacyCopy(const std::filesystem::path& source,
                           const std::filesystem::path& destination) const override;

    bool failsPrivacyVerification(const FileMetadataReport& report) const override;

    // The type's description, or the media inspector's own name for the extension.
    static std::u16string typeDescription(const std::filesystem::path& file);
};

}  // namespace velquor::files
