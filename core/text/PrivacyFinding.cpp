#include "PrivacyFinding.h"

#include <utility>

namespace velquor::text {

PrivacyFinding::PrivacyFinding(std::u16string label, Severity severity, std::int64_t count,
                               std::vector<std::u16string> examples, std::u16string rationale,
                               std::vector<TextLocation> locations)
    : id(label),
      label(std::move(label)),
      severity(severity),
      count(count),
      examples(std::move(examples)),
      rationale(std::move(rationale)),
      locations(std::move(locations)) {}

std::int64_t TextPrivacyReport::highRiskCount() const {
    std::int64_t total = 0;
    for (const auto& finding : findings) {
        if (finding.severity == PrivacyFinding::Severity::high) total += finding.count;
    }
    return total;
}

}  // namespace velquor::text
