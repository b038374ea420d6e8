#pragma once

#include "core/files/FileBytes.h"
#include "core/files/FileInspector.h"

#include <filesystem>
#include <string>

namespace velquor::files {

// PDF documents: the information dictionary's attributes, the annotations and their texts, and
// byte-level traces of XMP, embedded files, images, fonts, JavaScript, launch actions and rich
// media. The privacy copy drops the attributes, the metadata streams and the annotations'
// texts, flattens the annotations into the pages, and is published only when its own report
// shows nothing personal.
class PDFPrivacySanitizer final : public FileInspector {
public:
    // A PDF by its type, or by the extension "pdf" in any letter case.
    static bool isSupported(const std::filesystem::path& file);

    FileMetadataReport inspect(const std::filesystem::path& file) const override;

    void exportPrivacyCopy(const std::filesystem::path& source,
                           const std::filesystem::path& destination) const override;

    bool failsPrivacyVerification(const FileMetadataReport& report) const override;

    // The report of a PDF held in memory, under the given file name.
    static FileMetadataReport inspectBytes(ByteView bytes, std::u16string fileName);
};

}  // namespace velquor::files
