#include "core/text/authorship/RewriteWarnings.h"

#include "core/text/base/TextConversions.h"
#include "core/text/base/Whitespace.h"
#include "core/text/regex/Regex.h"

#include <string>

namespace velquor::text {

namespace {

// The end of the paragraph break that starts at `index`, or nothing when none starts there.
std::optional<std::size_t> paragraphBreakEnd(std::u16string_view text, std::size_t index) {
    if (text[index] != u'\n') return std::nullopt;
    auto end = index + 1;
    while (end < text.size() && (text[end] == u' ' || text[end] == u'\t')) ++end;
    if (end == text.size() || text[end] != u'\n') return std::nullopt;
    while (end < text.size() && text[end] == u'\n') ++end;
    return end;
}

const std::optional<Regex>& negationMarker() {
    static const auto pattern = Regex::compile(
        u"\\b(?:no|not|never|neither|nor|cannot|can't|isn't|aren't|wasn't|weren't|don't|doesn't|didn't|won't|"
        u"wouldn't|shouldn't|couldn't)\\b",
        {.caseInsensitive = true});
    return pattern;
}

// Length changes are judged on exact integer ratios: a rewrite above 1.5 times the earlier word
// count is much longer, one below 0.65 times is much shorter, and the percentage is truncated.
std::optional<std::u16string> lengthWarning(std::int64_t originalWords, std::int64_t rewrittenWords) {
    if (originalWords < 1) return std::nullopt;
    if (2 * rewrittenWords > 3 * originalWords) {
        const auto percent = (rewrittenWords - originalWords) * 100 / originalWords;
        return u"The rewrite is " + decimalText(percent) + u"% longer; check for invented detail or scope expansion.";
    }
    if (100 * rewrittenWords < 65 * originalWords) {
        const auto percent = (originalWords - rewrittenWords) * 100 / originalWords;
        return u"The rewrite is " + decimalText(percent) + u"% shorter; check for lost qualifications or examples.";
    }
    return std::nullopt;
}

}  // namespace

std::int64_t paragraphCount(std::u16string_view text) {
    std::int64_t paragraphs = 0;
    std::size_t pieceStart = 0;
    const auto countPiece = [&](std::size_t pieceEnd) {
        if (!trimmedWhitespaceAndNewlines(text.substr(pieceStart, pieceEnd - pieceStart)).empty()) ++paragraphs;
    };
    for (std::size_t index = 0; index < text.size();) {
        const auto breakEnd = paragraphBreakEnd(text, index);
        if (!breakEnd) {
            ++index;
            continue;
        }
        countPiece(index);
        pieceStart = *breakEnd;
        index = *breakEnd;
    }
    countPiece(text.size());
    return paragraphs;
}

ScannedCount negationMarkerCount(std::u16string_view text) {
    if (!negationMarker()) return std::nullopt;
    const auto scan = negationMarker()->allMatches(text);
    if (!scan.complete) return std::nullopt;
    return static_cast<std::int64_t>(scan.matches.size());
}

std::vector<std::u16string> rewriteWarnings(const RewriteMeasures& measures) {
    std::vector<std::u16string> warnings;
    if (measures.rewriteIsBlank) warnings.emplace_back(u"The rewritten text is empty.");
    if (measures.originalParagraphs >= 1 && measures.rewrittenParagraphs < measures.originalParagraphs) {
        warnings.push_back(u"Paragraph count fell from " + decimalText(measures.originalParagraphs) + u" to " +
                           decimalText(measures.rewrittenParagraphs) + u"; check for omitted material.");
    }
    if (auto length = lengthWarning(measures.originalWords, measures.rewrittenWords))
        warnings.push_back(std::move(*length));
    if (measures.originalNegations && measures.rewrittenNegations &&
        *measures.originalNegations != *measures.rewrittenNegations) {
        warnings.push_back(u"Negation markers changed from " + decimalText(*measures.originalNegations) + u" to " +
                           decimalText(*measures.rewrittenNegations) + u"; verify that claims did not reverse.");
    }
    return warnings;
}

}  // namespace velquor::text
