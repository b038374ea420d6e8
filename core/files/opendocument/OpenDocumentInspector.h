#pragma once

#include "core/files/FileInspector.h"

#include <filesystem>
#include <string>

namespace velquor::files {

// OpenDocument files as LibreOffice writes them: text, spreadsheets, presentations and drawings
// (odt, ods, odp, odg) and their templates (ott, ots, otp, otg). The archive is validated and
// read in memory like an Office one; the copy is built in memory and published only when a
// fresh inspection of the written copy finds nothing personal left.
class OpenDocumentInspector final : public FileInspector {
public:
    static bool isSupported(const std::filesystem::path& file);

    // "OpenDocument text" and the like, by extension.
    static std::u16string typeDescription(const std::filesystem::path& file);

    FileMetadataReport inspect(const std::filesystem::path& file) const override;

    void exportPrivacyCopy(const std::filesystem::path& source,
                           const std::filesystem::path& destination) const override;

    // Whether any row is OpenDocument residue (isOpenDocumentResidue).
    bool failsPrivacyVerification(const FileMetadataReport& report) const override;
};

}  // namespace velquor::files
