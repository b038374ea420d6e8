#include "core/text/TextSanitizer.h"
#include "core/text/base/GraphemeClusters.h"
#include "core/text/base/Whitespace.h"
#include "core/text/privacy/PrivacyCatalogue.h"
#include "core/text/regex/PatternRule.h"

#include <algorithm>
#include <optional>

namespace velquor::text {

namespace {

constexpr std::size_t maximumExamples = 3;
constexpr std::int64_t maskedFromCharacters = 13;
constexpr std::int64_t maskedHeadCharacters = 6;
constexpr std::int64_t maskedTailCharacters = 4;

// Compiled once, on first use, in catalogue order; a pattern that fails to compile finds nothing.
const std::vector<CompiledPatternRule>& compiledCatalogue() {
    static const std::vector<CompiledPatternRule> compiled = [] {
        std::vector<CompiledPatternRule> rules;
        for (const auto& row : privacyCatalogue()) {
            rules.emplace_back(row.rule, RegexOptions{.caseInsensitive = true}, row.requiredPart);
        }
        return rules;
    }();
    return compiled;
}

const CompiledPatternRule& compiledPattern(const PrivacyPattern& row) {
    const auto index = static_cast<std::size_t>(&row - privacyCatalogue().data());
    return compiledCatalogue().at(index);
}

// A line break becomes a space, the edges are trimmed, and a long match keeps only its first
// six and last four characters, so an example never shows a whole secret.
std::u16string maskedExample(std::u16string_view match) {
    std::u16string flattened(match);
    std::replace(flattened.begin(), flattened.end(), u'\n', u' ');
    const auto trimmed = trimmedWhitespaceAndNewlines(flattened);
    const auto boundaries = graphemeClusterBoundaries(trimmed);
    const auto characters = static_cast<std::int64_t>(boundaries.size()) - 1;
    if (characters < maskedFromCharacters) return std::u16string(trimmed);
    const auto headEnd = static_cast<std::size_t>(boundaries[maskedHeadCharacters]);
    const auto tailStart = static_cast<std::size_t>(boundaries[boundaries.size() - 1 - maskedTailCharacters]);
    return std::u16string(trimmed.substr(0, headEnd)) + u"..." + std::u16string(trimmed.substr(tailStart));
}

// High before Medium before Info; equal severities by label.
bool ranksBefore(const PrivacyFinding& a, const PrivacyFinding& b) {
    if (a.severity != b.severity) return ordinal(a.severity) > ordinal(b.severity);
    return a.label < b.label;
}

void appendPrivacyFinding(const PrivacyPattern& row, std::u16string_view text, std::vector<PrivacyFinding>& findings,
                          std::vector<std::u16string>& timedOutScans) {
    // Only the locations are kept: a text of addresses has millions of matches.
    std::vector<std::u16string> examples;
    std::vector<TextLocation> locations;
    const bool complete = compiledPattern(row).forEachMatch(text, [&](RegexMatch&& match) {
        const auto range = match.range;
        locations.push_back(range);
        if (examples.size() < maximumExamples) {
            examples.push_back(maskedExample(text.substr(static_cast<std::size_t>(range.utf16Location),
                                                         static_cast<std::size_t>(range.utf16Length))));
        }
    });
    if (!complete) timedOutScans.push_back(u"Privacy: " + std::u16string(row.label));
    if (locations.empty()) return;
    const auto count = static_cast<std::int64_t>(locations.size());
    findings.emplace_back(std::u16string(row.label), row.severity, count, std::move(examples),
                          std::u16string(row.rationale), std::move(locations));
}

}  // namespace

TextPrivacyReport TextSanitizer::privacyReport(std::u16string_view text,
                                               std::vector<std::u16string>& timedOutScans) const {
    std::vector<PrivacyFinding> findings;
    for (const auto& row : privacyCatalogue()) appendPrivacyFinding(row, text, findings, timedOutScans);
    std::stable_sort(findings.begin(), findings.end(), ranksBefore);
    return {std::move(findings)};
}

}  // namespace velquor::text
