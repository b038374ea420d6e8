#pragma once

#include <stdexcept>
#include <string_view>

namespace velquor::files {

// Why a file could not be inspected or exported. what() is the message the user sees.
class FileSanitizerError : public std::runtime_error {
public:
    enum class Case {
        unsupportedFile,
        unreadableFile,
        destinationExists,
        contentCredentialsInspectOnly,
        archiveResourceLimitExceeded,
        unsafeArchiveEntry,
        exportFailed,
        verificationFailed,
        signedDocument,
        inspectOnlyType,  // a family that can inspect the file but writes no copy of its type
    };

    explicit FileSanitizerError(Case errorCase);

    Case errorCase() const { return case_; }

    static std::string_view message(Case errorCase);

    friend bool operator==(const FileSanitizerError& a, const FileSanitizerError& b) { return a.case_ == b.case_; }

private:
    Case case_;
};

// The two failures raised from the most places: data that is not what its format says, and a
// copy that cannot be built or written faithfully.
[[noreturn]] void throwUnreadableFile();
[[noreturn]] void throwExportFailed();

}  // namespace velquor::files
