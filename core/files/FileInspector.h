#pragma once

#include "FileMetadataReport.h"

#include <filesystem>

namespace velquor::files {

// What every file family offers: a report of what a file carries, and a privacy copy that is
// staged, re-inspected, verified and published without replacing anything. Implementations hold
// no state, so one value serves any number of threads. Failures throw FileSanitizerError or pass
// a system error through.
class FileInspector {
public:
    virtual ~FileInspector() = default;

    virtual FileMetadataReport inspect(const std::filesystem::path& file) const = 0;

    virtual void exportPrivacyCopy(const std::filesystem::path& source,
                                   const std::filesystem::path& destination) const = 0;
};

}  // namespace velquor::files
