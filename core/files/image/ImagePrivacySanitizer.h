#pragma once

#include "core/files/FileBytes.h"
#include "core/files/FileInspector.h"

#include <filesystem>
#include <vector>

namespace velquor::files {

// Raster images: JPEG, PNG (and APNG), GIF, WebP, TIFF, HEIC, HEIF and AVIF. Inspection lists
// every property of every frame in sections, finds embedded previews and content credentials.
// The privacy copy keeps the pixels byte for byte, the orientation and the animation timing, and
// nothing else; files with confirmed content credentials stay inspect-only.
class ImagePrivacySanitizer final : public FileInspector {
public:
    // Whether the type from the file name's extension is an image (SVG included: dispatch asks
    // about SVG first).
    static bool isSupported(const std::filesystem::path& file);

    FileMetadataReport inspect(const std::filesystem::path& file) const override;

    void exportPrivacyCopy(const std::filesystem::path& source,
                           const std::filesystem::path& destination) const override;

    bool failsPrivacyVerification(const FileMetadataReport& report) const override;

    static std::vector<ProvenanceEvidence> provenanceEvidence(ByteView data);

    // Images are read whole into memory; a larger file is refused as unreadable.
    static constexpr std::uint64_t maximumByteCount = std::uint64_t{1} << 30;
};

}  // namespace velquor::files
