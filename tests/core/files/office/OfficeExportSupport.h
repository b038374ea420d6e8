#pragma once

#include "tests/core/files/office/OfficePackages.h"
#include "tests/core/files/office/OfficeTestFolder.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/office/OfficeArchiveInspector.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velquor::testing {

// Exports with the inspector and reads the copy back with independent tools.
class OfficeExportTest : public OfficeTestFolder {
protected:
    std::filesystem::path package(const std::string& name, const Parts& parts);
    std::filesystem::path exported(const std::filesystem::path& source);

    // The error an export fails with; also checks that nothing was written at the destination.
    files::FileSanitizerError::Case exportFailure(const std::filesystem::path& source);

    static std::vector<std::string> entryNames(const std::filesystem::path& archive);        // unzip -Z1, sorted
    static std::string part(const std::filesystem::path& archive, const std::string& name);  // unzip -p
    static bool archiveTestPasses(const std::filesystem::path& archive);                     // unzip -tqq
    static std::string exiftoolJson(const std::filesystem::path& file);
};

// The canonical form (C14N) of a document: equal for documents that differ only in quote
// style, character references, empty-element form and the declaration.
std::string canonicalXml(const std::string& xml);

}  // namespace velquor::testing
