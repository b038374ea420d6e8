#pragma once

#include "core/files/FileInspector.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace velquor::files {

// SVG read as text and as XML: inspection counts comments, document types, custom entities,
// style sheets, metadata, scripts, embedded HTML, event handlers, external links (animations
// that set one included), CSS resources, editor attributes, local paths, generator fields,
// embedded data, and elements or attributes in namespaces it does not know. Text patterns find
// the constructs as they are usually spelled; what their cleaning leaves is then read by
// namespace and local name, so that a prefix cannot hide a script or an editor attribute. The
// privacy copy is the cleaned text, and it is only published when inspecting it again finds
// nothing at all.
class SVGPrivacySanitizer final : public FileInspector {
public:
    static bool isSupported(const std::filesystem::path& file);

    // A file that is not UTF-8, holds no <svg element, is too large, whose scans cannot finish in
    // time, or whose XML nests too deeply or holds too many nodes is unreadableFile.
    FileMetadataReport inspect(const std::filesystem::path& file) const override;

    void exportPrivacyCopy(const std::filesystem::path& source,
                           const std::filesystem::path& destination) const override;

    bool failsPrivacyVerification(const FileMetadataReport& report) const override;

    // The text without the removable constructs, its lines trimmed, blank lines dropped, joined
    // with line feeds and ending in one. When the reading by namespace finds more to remove than
    // the patterns did, the document is written out again by libxml2 before the lines are
    // tidied. Throws unreadableFile when a scan cannot finish in time or the XML is too large.
    std::u16string clean(std::u16string_view svg) const;

    // The entries inspection reports for this text, sorted.
    static std::vector<FileMetadataEntry> entries(std::u16string_view svg);

    // SVG is held whole in memory as UTF-16; a larger file is refused as unreadable.
    static constexpr std::uint64_t maximumByteCount = std::uint64_t{64} << 20;
};

}  // namespace velquor::files
