#pragma once

#include "core/files/FileInspector.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace velquor::files {

// Audio and video through libavformat. Inspection lists every metadata item of the container,
// its streams and its chapters in the sections "Location", "Capture", "Description" and "Media",
// with the number of timed-metadata tracks and the duration. The privacy copy, for QuickTime and
// MPEG-4 files only, copies the audio, video and subtitle streams packet for packet into a new
// container without any metadata, keeping the rotation of the picture.
class MediaMetadataInspector final : public FileInspector {
public:
    // The extension names a known type, and that type is audio or video or the extension is one of
    // the media extensions every build supports.
    static bool isSupported(const std::filesystem::path& file);

    // Only QuickTime and MPEG-4 files (mov, mp4, m4v, m4a) get privacy copies.
    static bool canExportPrivacyCopy(const std::filesystem::path& file);

    FileMetadataReport inspect(const std::filesystem::path& file) const override;

    void exportPrivacyCopy(const std::filesystem::path& source,
                           const std::filesystem::path& destination) const override;

    bool failsPrivacyVerification(const FileMetadataReport& report) const override;

    // The libavformat muxer that writes the copy of a file with this name's extension.
    static std::optional<std::string_view> exportMuxer(const std::filesystem::path& file);

    // The type's description, or the media inspector's own name for the extension.
    static std::u16string typeDescription(const std::filesystem::path& file);
};

}  // namespace velquor::files
