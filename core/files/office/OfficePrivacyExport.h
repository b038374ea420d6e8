#pragma once

#include <filesystem>

namespace velquor::files {

class OfficeArchiveInspector;

// The privacy copy of a docx, pptx or xlsx file: validate, build the cleaned package in memory,
// write it next to the destination as a staged file, inspect that file again, and publish it
// only when nothing personal is left. Nothing is unpacked to disk, no other program runs, and
// nothing is written at the destination unless the copy passed.
void exportOfficePrivacyCopy(const OfficeArchiveInspector& inspector, const std::filesystem::path& source,
                             const std::filesystem::path& destination);

}  // namespace velquor::files
