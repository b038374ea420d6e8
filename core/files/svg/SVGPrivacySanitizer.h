#pragma once

#include "core/files/FileInspector.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace velquor::files {

// SVG read as text: inspection counts comments, document types, custom entities, style sheets,
// metadata, scripts, embedded HTML, event handlers, external links, CSS resources, editor
// attributes, local paths, generator fields and embedded data. The privacy copy is the cleaned
// text, and it is only published when inspecting it again finds nothing at all.
class SVGPrivacySanitizer final : public FileInspector {
public:
    static bool isSupported(const std::filesystem::path& file);

    // A file that is not UTF-8, holds no <svg element, is too large, or whose scans cannot
    // finish in time is unreadableFile.
    FileMetadataReport inspect(const std::filesystem::path& file) const override;

    void exportPrivacyCopy(const std::filesystem::path& source,
                           const std::filesystem::path& destination) const override;

    bool failsPrivacyVerification(const FileMetadataReport& report) const override;

    // The text without the removable constructs, its lines trimmed, blank lines dropped, joined
    // with line feeds and ending in one. Throws unreadableFile when a scan cannot finish in time.
    std::u16string clean(std::u16string_view svg) const;

    // The entries inspection reports for this text, sorted.
    static std::vector<FileMetadataEntry> entries(std::u16string_view svg);

    // SVG is held whole in memory as UTF-16; a larger file is refused as unreadable.
    static constexpr std::uint64_t maximumByteCount = std::uint64_t{64} << 20;
};

}  // namespace velquor::files
