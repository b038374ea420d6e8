#pragma once

#include <filesystem>

namespace velquor::files {

class OfficeArchiveInspector;

// The privacy copy of a docx, pptx or xlsx file: validate, unpack into a private folder named
// "velquor-office-" and a UUID, remove the personal parts and markup, pack, test the archive,
// inspect it again, and publish it only when nothing personal is left. The folder is removed on
// every path, and nothing is written at the destination unless the copy passed.
void exportOfficePrivacyCopy(const OfficeArchiveInspector& inspector, const std::filesystem::path& source,
                             const std::filesystem::path& destination);

}  // namespace velquor::files
