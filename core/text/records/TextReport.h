#pragma once

#include "core/text/records/HiddenTextPayload.h"
#include "core/text/records/PrivacyFinding.h"
#include "core/text/records/StyleReport.h"
#include "core/text/records/TextIssue.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velquor::text {

// The result of inspecting one text.
struct TextReport {
    std::int64_t characters = 0;  // grapheme clusters
    std::int64_t scalars = 0;
    std::int64_t asciiScalars = 0;  // U+0000 through U+007F, controls included
    std::vector<TextIssue> issues;
    std::vector<HiddenTextPayload> hiddenPayloads;
    StyleReport styleReport;
    TextPrivacyReport privacyReport;
    // Scans that ran out of their step budget before reaching the end of the text, so their
    // results may be incomplete. Empty in normal use; never silently read as "nothing found".
    std::vector<std::u16string> timedOutScans;

    bool hasIssues() const { return !issues.empty(); }
    std::int64_t nonASCIICount() const { return scalars - asciiScalars; }

    friend bool operator==(const TextReport&, const TextReport&) = default;
};

}  // namespace velquor::text
