#pragma once

#include "core/files/FileMetadataReport.h"

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

    // The rule a privacy copy of this family must pass, applied to any report of the family:
    // true when a copy whose report looked like this would be refused with verificationFailed.
    // Exporters check their staged copies with it; callers may ask it of an original to learn
    // whether the file carries what a copy may not.
    virtual bool failsPrivacyVerification(const FileMetadataReport& report) const = 0;
};

}  // namespace velquor::files
