#pragma once

#include "core/files/FileMetadataReport.h"

#include <filesystem>
#include <string>

namespace velquor::workflow {

// The status shown once a file has been inspected, by the first row that takes it: "SVG ready.",
// "PDF ready.", "Image ready.", "Media ready." or the media inspect-only notice, "Office document
// ready." or the archive inspect-only notice (iWork); for anything else the unsupportedFile
// message.
std::u16string readyStatus(const std::filesystem::path& file);

// Whether some family writes privacy copies of files like this one (the registry's export test,
// by name only).
bool canExportFile(const std::filesystem::path& file);

// Whether a privacy copy may be offered for a file that was inspected with this report: it can
// be exported, and it carries no content credentials, which keep a file inspect-only.
bool canOfferPrivacyCopy(const std::filesystem::path& file, const files::FileMetadataReport& report);

}  // namespace velquor::workflow
