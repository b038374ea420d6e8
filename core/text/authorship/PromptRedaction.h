#pragma once

#include "core/text/records/PrivacyFinding.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

struct RedactedText {
    std::u16string text;
    std::int64_t redactedFindings = 0;  // the matches of the findings that were redacted
};

// The text with every match of a High or Medium finding replaced by "[REDACTED: label]".
// Overlapping matches become one tag that names every label once, in ascending order, joined
// with " + "; matches that only touch stay separate tags. Info findings stay in the text.
RedactedText redactSensitiveText(std::u16string_view text, const std::vector<PrivacyFinding>& findings);

}  // namespace velquor::text
