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

std::variant<AttentionScope, std::string> attentionScopeFrom(const std::vector<std::string>& onlyValues) {
    if (onlyValues.empty()) return AttentionScope{};
    AttentionScope scope{.unicode = false, .privacy = false};
    for (const auto& value : onlyValues) {
        if (value == "unicode") {
            scope.unicode = true;
        } else if (value == "privacy") {
            scope.privacy = true;
        } else {
            return value;
        }
    }
    return scope;
}

text::TextReport restrictedReport(text::TextReport report, AttentionScope scope) {
    if (!scope.unicode) {
        report.issues.clear();
        report.hiddenPayloads.clear();
    }
    if (!scope.privacy) report.privacyReport.findings.clear();
    return report;
}

}  // namespace velquor::cli
