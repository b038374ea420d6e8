#pragma once

#include "core/files/FileInspector.h"

#include <filesystem>
#include <string>

namespace velquor::files {

// Word, PowerPoint and Excel documents (docx, pptx, xlsx) and iWork documents stored as one zip
// file (pages, key, numbers). Inspection validates the archive against hostile names and zip
// bombs, then reads its listing and a few parts in memory, never unpacking it:
// document properties, thumbnails, comments, people lists, tracked changes, external links,
// embedded media, fonts and objects, iWork parts. Only the Office formats can be exported.
class OfficeArchiveInspector final : public FileInspector {
public:
    static bool isSupported(const std::filesystem::path& file);
    static bool canExportPrivacyCopy(const std::filesystem::path& file);

    // "Word document archive" and the like, by extension.
    static std::u16string typeDescription(const std::filesystem::path& file);

    FileMetadataReport inspect(const std::filesystem::path& file) const override;

    // Builds a new archive in memory without the personal parts, with tracked changes accepted
    // and without comment anchors, revision marks, external links, everything that referred to
    // what was removed, entry times or extra fields, and publishes it only when a fresh
    // inspection of the written copy finds nothing personal left.
    void exportPrivacyCopy(const std::filesystem::path& source,
                           const std::filesystem::path& destination) const override;

    // containsExportPrivacyResidue.
    bool failsPrivacyVerification(const FileMetadataReport& report) const override;
};

// Whether a report of an exported copy still shows something personal: external links, tracked
// changes, comments, any document property but the page and word counts, thumbnails, people
// lists and embedded files that carry metadata of their own. Embedded media, fonts, objects and
// iWork parts are not personal by themselves.
bool containsExportPrivacyResidue(const FileMetadataReport& report);

// The same for one row.
bool isExportPrivacyResidue(const FileMetadataEntry& entry);

}  // namespace velquor::files
