#include "core/text/authorship/PromptRedaction.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>

namespace velquor::text {

namespace {

// The findings whose labels a range carries, as bits by index in the findings list: a text of
// addresses has millions of ranges, and a list of labels for each would outweigh the text.
using FindingSet = std::uint64_t;
constexpr std::size_t maximumRedactedFindings = 64;

struct RedactedRange {
    std::int64_t start = 0;
    std::int64_t end = 0;
    FindingSet findings = 0;
};

bool isRedacted(const PrivacyFinding& finding) { return finding.severity != PrivacyFinding::Severity::info; }

// One range per match, ordered by start; equal starts keep the findings' order. A location that
// does not lie inside the text cannot be a match in it and is left out.
std::vector<RedactedRange> matchRanges(std::u16string_view text, const std::vector<PrivacyFinding>& findings) {
    const auto length = static_cast<std::int64_t>(text.size());
    if (findings.size() > maximumRedactedFindings) throw std::length_error("too many kinds of finding to redact");
    std::vector<RedactedRange> ranges;
    for (std::size_t index = 0; index < findings.size(); ++index) {
        const auto& finding = findings[index];
        if (!isRedacted(finding)) continue;
        for (const auto& location : finding.locations) {
            if (location.utf16Location < 0 || location.utf16Length <= 0 || location.end() > length) continue;
            ranges.push_back({location.utf16Location, location.end(), FindingSet{1} << index});
        }
    }
    std::stable_sort(ranges.begin(), ranges.end(),
                     [](const RedactedRange& a, const RedactedRange& b) { return a.start < b.start; });
    return ranges;
}

// Merged in place: the merged ranges are never more than the ranges.
std::vector<RedactedRange> mergedOverlaps(std::vector<RedactedRange> ranges) {
    std::size_t merged = 0;
    for (const auto& range : ranges) {
        if (merged == 0 || range.start >= ranges[merged - 1].end) {
            ranges[merged++] = range;
            continue;
        }
        auto& previous = ranges[merged - 1];
        previous.end = std::max(previous.end, range.end);
        previous.findings |= range.findings;
    }
    ranges.resize(merged);
    return ranges;
}

std::u16string tagFor(FindingSet set, const std::vector<PrivacyFinding>& findings) {
    std::vector<std::u16string_view> labels;
    for (std::size_t index = 0; index < findings.size(); ++index) {
        if (set & (FindingSet{1} << index)) labels.push_back(findings[index].label);
    }
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
    const auto ranges = mergedOverlaps(matchRanges(text, findings));
    // Few distinct tags recur over millions of ranges; knowing them all first sizes the text once.
    std::map<FindingSet, std::u16string> tags;
    auto length = text.size();
    for (const auto& range : ranges) {
        auto tag = tags.find(range.findings);
        if (tag == tags.end()) tag = tags.emplace(range.findings, tagFor(range.findings, findings)).first;
        length += tag->second.size() - static_cast<std::size_t>(range.end - range.start);
    }
    redacted.text.reserve(length);
    // The merged ranges are ordered and apart, so one pass from the front replaces them all.
    std::int64_t copiedUpTo = 0;
    for (const auto& range : ranges) {
        redacted.text.append(
            text.substr(static_cast<std::size_t>(copiedUpTo), static_cast<std::size_t>(range.start - copiedUpTo)));
        redacted.text += tags.at(range.findings);
        copiedUpTo = range.end;
    }
    redacted.text.append(text.substr(static_cast<std::size_t>(copiedUpTo)));
    return redacted;
}

}  // namespace velquor::text
