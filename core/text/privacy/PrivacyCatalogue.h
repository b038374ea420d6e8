#pragma once

#include "core/text/records/PrivacyFinding.h"
#include "core/text/regex/PatternRule.h"

#include <array>
#include <string_view>

namespace velquor::text {

// One row of the privacy pass. Every pattern is an ICU pattern compiled case-insensitive, so
// the upper-case classes also accept lower-case letters. The rule may name equivalent forms to
// scan with (see PatternRule and RequiredPartRule); tests check them against the rule.
struct PrivacyPattern {
    std::u16string_view label;
    PrivacyFinding::Severity severity;
    PatternRule rule;
    std::u16string_view rationale;
    RequiredPartRule requiredPart;
};

// In evaluation order.
const std::array<PrivacyPattern, 8>& privacyCatalogue();

}  // namespace velquor::text
