#pragma once

#include <filesystem>
#include <functional>
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

// A name Velquor chose is no choice of the person's: when another export (a second window, the
// command line) takes it first, the copy goes under the next free name instead, asked of
// `nextFreeName`, up to this many names in all. A name the person gave is never retried.
inline constexpr int automaticNameAttempts = 8;

PrivacyCopyOutcome exportPrivacyCopyUnderFreeName(const std::filesystem::path& source,
                                                  const std::filesystem::path& firstChoice,
                                                  const std::function<std::filesystem::path()>& nextFreeName);

// The same under the first free name next to the source (photo-privacy.jpg, photo-privacy-2.jpg…).
PrivacyCopyOutcome exportPrivacyCopyNextToSource(const std::filesystem::path& source);

}  // namespace velquor::workflow
