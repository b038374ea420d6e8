#include "core/text/TextSanitizer.h"
#include "core/text/base/Whitespace.h"

#include <algorithm>

namespace velquor::text {

namespace {

// A deviation must fire at least twice, at least half a use per 100 words above the writer's
// habit, and, where the writer has the habit at all, at least 1.75 times as often.
constexpr std::int64_t minimumDeviationCount = 2;
constexpr double minimumRateDifference = 0.5;
constexpr double minimumRateRatio = 1.75;
constexpr double minimumRateWithoutBaseline = 0.5;

bool isMaterial(const StyleSignal& signal, double baselineRate) {
    const auto current = signal.ratePer100Words;
    if (signal.count < minimumDeviationCount) return false;
    if (current - baselineRate < minimumRateDifference) return false;
    if (baselineRate > 0) return current / baselineRate >= minimumRateRatio;
    return current >= minimumRateWithoutBaseline;
}

// The largest excess over the writer's habit first; equal excesses by label.
bool deviatesMore(const WritingStyleDeviation& a, const WritingStyleDeviation& b) {
    if (a.difference() != b.difference()) return a.difference() > b.difference();
    return a.label < b.label;
}

}  // namespace

WritingStyleBaseline TextSanitizer::writingStyleBaseline(std::span<const std::u16string> documents) const {
    WritingStyleBaseline baseline;
    std::map<std::u16string, std::int64_t, std::less<>> totals;
    for (const auto& document : documents) {
        if (trimmedWhitespaceAndNewlines(document).empty()) continue;
        std::vector<std::u16string> timedOutScans;
        const auto report = styleReport(document, timedOutScans);
        ++baseline.documentCount;
        baseline.wordCount += report.wordCount;
        for (const auto& signal : report.signals) totals[signal.label] += signal.count;
    }
    if (baseline.wordCount == 0) return baseline;
    for (const auto& [label, total] : totals) {
        baseline.signalRates.emplace(label,
                                     static_cast<double>(total) * 100.0 / static_cast<double>(baseline.wordCount));
    }
    return baseline;
}

std::vector<WritingStyleDeviation> TextSanitizer::compareWritingStyle(std::u16string_view text,
                                                                      const WritingStyleBaseline& baseline) const {
    std::vector<std::u16string> timedOutScans;
    return deviationsOf(styleReport(text, timedOutScans), baseline);
}

std::vector<WritingStyleDeviation> TextSanitizer::deviationsOf(const StyleReport& report,
                                                               const WritingStyleBaseline& baseline) {
    std::vector<WritingStyleDeviation> deviations;
    for (const auto& signal : report.signals) {
        const auto baselineRate = baseline.rate(signal.label);
        if (isMaterial(signal, baselineRate)) {
            deviations.emplace_back(signal.label, signal.count, signal.ratePer100Words, baselineRate);
        }
    }
    std::stable_sort(deviations.begin(), deviations.end(), deviatesMore);
    return deviations;
}

}  // namespace velquor::text
