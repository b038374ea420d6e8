#include "core/text/authorship/PromptRedaction.h"

#include <algorithm>

namespace velquor::text {

namespace {

struct RedactedRange {
    std::int64_t start = 0;
    std::int64_t end = 0;
    std::vector<std::u16string_view> labels;
};

bool isRedacted(const PrivacyFinding& finding) { return finding.severity != PrivacyFinding::Severity::info; }

// One range per match, ordered by start; equal starts keep the findings' order. A location that
// does not lie inside the text cannot be a match in it and is left out.
std::vector<RedactedRange> matchRanges(std::u16string_view text, const std::vector<PrivacyFinding>& findings) {
    const auto length = static_cast<std::int64_t>(text.size());
    std::vector<RedactedRange> ranges;
    for (const auto& finding : findings) {
        if (!isRedacted(finding)) continue;
        for (const auto& location : finding.locations) {
            if (location.utf16Location < 0 || location.utf16Length <= 0 || location.end() > length) continue;
            ranges.push_back({location.utf16Location, location.end(), {finding.label}});
        }
    }
    std::stable_sort(ranges.begin(), ranges.end(),
                     [](const RedactedRange& a, const RedactedRange& b) { return a.start < b.start; });
    return ranges;
}

std::vector<RedactedRange> mergedOverlaps(std::vector<RedactedRange> ranges) {
    std::vector<RedactedRange> merged;
    for (auto& range : ranges) {
        if (merged.empty() || range.start >= merged.back().end) {
            merged.push_back(std::move(range));
            continue;
        }
        auto& previous = merged.back();
        previous.end = std::max(previous.end, range.end);
        for (const auto label : range.labels) {
            if (std::find(previous.labels.begin(), previous.labels.end(), label) == previous.labels.end()) {
                previous.labels.push_back(label);
            }
        }
    }
    return merged;
}

std::u16string tagFor(std::vector<std::u16string_view> labels) {
    std::sort(labels.begin(), labels.end());
    std::u16string tag = u"[REDACTED: ";
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (i > 0) tag += u" + ";
        tag += labels[i];
    }
    return tag + u"]";
}

}  // namespace

RedactedText redactSensitiveText(std::u16string_view text, const std::vector<PrivacyFinding>& findings) {
    RedactedText redacted;
    for (const auto& finding : findings) {
        if (isRedacted(finding)) redacted.redactedFindings += finding.count;
    }
    // The merged ranges are ordered and apart, so one pass from the front replaces them all.
    std::int64_t copiedUpTo = 0;
    for (const auto& range : mergedOverlaps(matchRanges(text, findings))) {
        redacted.text.append(
            text.substr(static_cast<std::size_t>(copiedUpTo), static_cast<std::size_t>(range.start - copiedUpTo)));
        redacted.text += tagFor(range.labels);
        copiedUpTo = range.end;
    }
    redacted.text.append(text.substr(static_cast<std::size_t>(copiedUpTo)));
    return redacted;
}

}  // namespace velquor::text
