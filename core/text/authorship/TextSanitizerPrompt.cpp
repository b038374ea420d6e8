#include "core/text/TextSanitizer.h"
#include "core/text/authorship/AuthorshipPromptText.h"
#include "core/text/authorship/PromptRedaction.h"

#include <algorithm>

namespace velquor::text {

namespace {

constexpr std::size_t maximumPrioritySignals = 5;

struct SelectedSignal {
    const StyleSignal* signal;
    const WritingStyleDeviation* deviation;  // null for a signal picked by rank
};

const StyleSignal* signalLabelled(const std::vector<StyleSignal>& signals, std::u16string_view label) {
    const auto found =
        std::find_if(signals.begin(), signals.end(), [&](const auto& signal) { return signal.label == label; });
    return found == signals.end() ? nullptr : &*found;
}

// Deviations from the writer's own habits first, in deviation order, then the strongest of the
// remaining signals; five at most.
std::vector<SelectedSignal> selectedSignals(const std::vector<StyleSignal>& ranked,
                                            const std::vector<WritingStyleDeviation>& deviations) {
    std::vector<SelectedSignal> selected;
    for (const auto& deviation : deviations) {
        if (const auto* signal = signalLabelled(ranked, deviation.label)) selected.push_back({signal, &deviation});
    }
    for (const auto& signal : ranked) {
        const bool taken =
            std::any_of(selected.begin(), selected.end(), [&](const auto& s) { return s.signal == &signal; });
        if (!taken) selected.push_back({&signal, nullptr});
    }
    if (selected.size() > maximumPrioritySignals) selected.resize(maximumPrioritySignals);
    return selected;
}

std::u16string priorities(const std::vector<SelectedSignal>& selected) {
    if (selected.empty()) return std::u16string(noPatternsPriority());
    std::u16string lines;
    for (const auto& [signal, deviation] : selected) {
        if (!lines.empty()) lines += u'\n';
        lines += priorityLine(*signal, deviation);
    }
    return lines;
}

}  // namespace

AuthorshipPromptResult TextSanitizer::authorshipRewritePrompt(
    std::u16string_view text, const std::optional<WritingStyleBaseline>& baseline) const {
    // Only the cleaned text is embedded: which of its characters are new is never needed here,
    // and finding out would diff two copies of a text that may be 64 MiB long.
    auto cleaned = cleanPlainText(text, rewriteHygieneOptions);
    auto report = inspect(cleaned);
    auto redacted = redactSensitiveText(cleaned, report.privacyReport.findings);
    // Both are as long as the text and no longer needed, while the prompt is yet to be built.
    cleaned = std::u16string();
    report.privacyReport = {};
    // The deviations come from the same style pass of the same cleaned, unredacted text.
    const auto deviations =
        baseline ? deviationsOf(report.styleReport, *baseline) : std::vector<WritingStyleDeviation>{};
    const auto ranked = report.styleReport.rankedSignals();
    const auto selected = selectedSignals(ranked, deviations);

    AuthorshipPromptResult result;
    result.prompt = assembledPrompt(baselineBlock(baseline ? &*baseline : nullptr, !deviations.empty()),
                                    priorities(selected), redacted.text);
    result.sourceText = std::move(redacted.text);
    result.includedSignals = static_cast<std::int64_t>(selected.size());
    result.redactedFindings = redacted.redactedFindings;
    result.usesPersonalBaseline = baseline.has_value();
    result.timedOutScans = std::move(report.timedOutScans);
    return result;
}

}  // namespace velquor::text
