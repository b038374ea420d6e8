#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velquor::workflow {

// What became of one privacy copy: the verified copy, or why there is none.
struct PrivacyCopyOutcome {
    std::filesystem::path source;
    std::optional<std::filesystem::path> copy;  // present only once the copy passed its re-inspection
    std::u16string status;                      // "Created and verified a-privacy.png." or the reason

    friend bool operator==(const PrivacyCopyOutcome&, const PrivacyCopyOutcome&) = default;
};

// Writes the privacy copy of `source` at `destination` through the export dispatch and never
// throws for the file's sake: every failure becomes its message. A folder is refused before
// anything is written. Nothing is ever replaced: an existing destination is an error.
PrivacyCopyOutcome exportPrivacyCopy(const std::filesystem::path& source, const std::filesystem::path& destination);

}  // namespace velquor::workflow
