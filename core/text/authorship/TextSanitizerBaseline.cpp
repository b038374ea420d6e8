#include "core/text/TextSanitizer.h"
#include "core/text/base/ParallelIndices.h"
#include "core/text/base/Whitespace.h"

#include <algorithm>
#include <optional>
#include <utility>

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

// What a baseline keeps of one document's style report.
struct DocumentCounts {
    std::int64_t wordCount = 0;
    std::vector<std::pair<std::u16string, std::int64_t>> signalCounts;
};

DocumentCounts countsOf(const StyleReport& report) {
    DocumentCounts counts{report.wordCount, {}};
    for (const auto& signal : report.signals) counts.signalCounts.emplace_back(signal.label, signal.count);
    return counts;
}

}  // namespace

WritingStyleBaseline TextSanitizer::writingStyleBaseline(std::span<const std::u16string> documents) const {
    // The documents' style passes are independent of one another and a folder of samples is
    // hundreds of megabytes, so they run side by side; the totals are integers, summed in
    // document order all the same.
    std::vector<std::optional<DocumentCounts>> counts(documents.size());
    forEachIndexInParallel(documents.size(), 0, [&](std::size_t index) {
        const auto& document = documents[index];
        if (trimmedWhitespaceAndNewlines(document).empty()) return;
        std::vector<std::u16string> timedOutScans;
        counts[index] = countsOf(styleReport(document, timedOutScans));
    });
    WritingStyleBaseline baseline;
    std::map<std::u16string, std::int64_t, std::less<>> totals;
    for (const auto& document : counts) {
        if (!document) continue;
        ++baseline.documentCount;
        baseline.wordCount += document->wordCount;
        for (const auto& [label, count] : document->signalCounts) totals[label] += count;
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
