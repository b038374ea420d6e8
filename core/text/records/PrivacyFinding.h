#pragma once

#include "core/text/base/RawValueTable.h"
#include "core/text/records/TextLocation.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// One kind of sensitive content found in a text: all its matches, with masked examples.
struct PrivacyFinding {
    // Declared in ranking order: a greater ordinal ranks first.
    enum class Severity { info, medium, high };

    PrivacyFinding(std::u16string findingLabel, Severity findingSeverity, std::int64_t matchCount,
                   std::vector<std::u16string> maskedExamples, std::u16string why,
                   std::vector<TextLocation> matchLocations);

    std::u16string id;  // always the label, which is unique within a report
    std::u16string label;
    Severity severity;
    std::int64_t count;
    std::vector<std::u16string> examples;  // at most three, masked, in match order
    std::u16string rationale;
    std::vector<TextLocation> locations;  // one per match, in match order

    friend bool operator==(const PrivacyFinding&, const PrivacyFinding&) = default;
};

inline constexpr RawValueTable<PrivacyFinding::Severity, 3> privacySeverities{{{
    {PrivacyFinding::Severity::info, u"Info"},
    {PrivacyFinding::Severity::medium, u"Medium"},
    {PrivacyFinding::Severity::high, u"High"},
}}};

inline std::u16string_view rawValue(PrivacyFinding::Severity severity) { return privacySeverities.rawValue(severity); }
inline int ordinal(PrivacyFinding::Severity severity) { return static_cast<int>(severity); }

struct TextPrivacyReport {
    std::vector<PrivacyFinding> findings;

    bool hasFindings() const { return !findings.empty(); }
    // Matches, not findings: two AWS keys and one JWT count 3.
    std::int64_t highRiskCount() const;

    friend bool operator==(const TextPrivacyReport&, const TextPrivacyReport&) = default;
};

}  // namespace velquor::text
