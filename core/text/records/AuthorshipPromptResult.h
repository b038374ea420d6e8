#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velquor::text {

// A rewrite prompt for an outside writing assistant, with the source text cleaned and its
// secrets redacted.
struct AuthorshipPromptResult {
    std::u16string prompt;
    std::u16string sourceText;          // exactly as embedded in the prompt
    std::int64_t includedSignals = 0;   // priority lines built from signals, 0 to 5
    std::int64_t redactedFindings = 0;  // matches of High and Medium privacy findings
    bool usesPersonalBaseline = false;
    // Scans of the source text that ran out of budget. When a privacy scan is among them a secret
    // may have been missed, so the prompt must not be passed on unread.
    std::vector<std::u16string> timedOutScans;

    friend bool operator==(const AuthorshipPromptResult&, const AuthorshipPromptResult&) = default;
};

}  // namespace velquor::text
