#include "core/text/records/PrivacyFinding.h"

#include <utility>

namespace velquor::text {

PrivacyFinding::PrivacyFinding(std::u16string findingLabel, Severity findingSeverity, std::int64_t matchCount,
                               std::vector<std::u16string> maskedExamples, std::u16string why,
                               std::vector<TextLocation> matchLocations)
    : id(findingLabel),
      label(std::move(findingLabel)),
      severity(findingSeverity),
      count(matchCount),
      examples(std::move(maskedExamples)),
      rationale(std::move(why)),
      locations(std::move(matchLocations)) {}

std::int64_t TextPrivacyReport::highRiskCount() const {
    std::int64_t total = 0;
    for (const auto& finding : findings) {
        if (finding.severity == PrivacyFinding::Severity::high) total += finding.count;
    }
    return total;
}

}  // namespace velquor::text
