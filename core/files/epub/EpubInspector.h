#pragma once

#include "core/files/FileInspector.h"

#include <filesystem>

namespace velquor::files {

// EPUB books (EPUB 2 and 3). The archive is validated and read in memory like an Office one.
// The copy keeps the book's content documents as they are and its title and language, takes a
// fresh random identifier so that it cannot be linked to its source, and is published only when
// a fresh inspection of the written copy finds nothing personal left.
class EpubInspector final : public FileInspector {
public:
    static bool isSupported(const std::filesystem::path& file);

    FileMetadataReport inspect(const std::filesystem::path& file) const override;

    void exportPrivacyCopy(const std::filesystem::path& source,
                           const std::filesystem::path& destination) const override;

    // Whether any row is EPUB residue (isEpubResidue).
    bool failsPrivacyVerification(const FileMetadataReport& report) const override;
};

}  // namespace velquor::files
