#pragma once

#include "PrivacyFinding.h"

#include <array>
#include <string_view>

namespace velquor::text {

// One row of the privacy pass. Every pattern is an ICU pattern compiled case-insensitive, so
// the upper-case classes also accept lower-case letters.
struct PrivacyPattern {
    std::u16string_view label;
    PrivacyFinding::Severity severity;
    std::u16string_view pattern;  // the rule, as the catalogue defines it
    std::u16string_view rationale;
    // An equivalent formulation with the same matches, used for scanning when the rule's own
    // form fails on long input: ICU keeps one backtracking entry per repetition of X{n,}, and
    // overflows its stack on a run of a few hundred thousand characters, while X{n}X* is a
    // single loop. Empty: the rule is scanned as written.
    std::u16string_view scanPattern;
    // For patterns an ordinary scan would re-read quadratically: where attempts begin, and the
    // span a failed attempt rules out (see StartPruning). Empty for patterns scanned plainly.
    std::u16string_view candidateStart;
    std::u16string_view ruledOutSpan;

    std::u16string_view patternToScan() const { return scanPattern.empty() ? pattern : scanPattern; }
};

// In evaluation order.
const std::array<PrivacyPattern, 8>& privacyCatalogue();

}  // namespace velquor::text
