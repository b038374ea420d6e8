#include "cli/TextAttention.h"

#include <algorithm>

namespace velquor::cli {

bool reportNeedsAttention(const text::TextReport& report) {
    using Kind = text::TextIssue::Kind;
    using Severity = text::PrivacyFinding::Severity;
    const bool unicodeIssue = std::any_of(report.issues.begin(), report.issues.end(),
                                          [](const auto& issue) { return issue.kind != Kind::nonASCII; });
    const bool riskyFinding = std::any_of(report.privacyReport.findings.begin(), report.privacyReport.findings.end(),
                                          [](const auto& finding) { return finding.severity != Severity::info; });
    return unicodeIssue || !report.hiddenPayloads.empty() || riskyFinding || !report.timedOutScans.empty();
}

}  // namespace velquor::cli
