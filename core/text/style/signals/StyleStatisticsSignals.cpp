#include "core/text/base/UnicodeScalarRules.h"
#include "core/text/base/Utf.h"
#include "core/text/style/StylePatterns.h"
#include "core/text/style/StyleText.h"
#include "core/text/style/signals/StyleSignals.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace velquor::text {

namespace {

namespace patterns = style_patterns;

constexpr std::int64_t minimumSpecificityWords = 100;
constexpr std::int64_t minimumBurstinessWords = 120;
constexpr std::size_t minimumMeasuredSentences = 4;
constexpr double maximumEvenVariation = 0.42;

// Capitalized words that open sentences in templated prose and name nothing.
constexpr std::array<std::u16string_view, 11> capitalizedOpeners{
    u"Here",         u"In",          u"Whether", u"First",      u"By",       u"From",
    u"Additionally", u"Furthermore", u"That",    u"Ultimately", u"Remember",
};

constexpr std::array<char16_t, 6> chatPasteCharacters{
    u'\u2014', u'\u201C', u'\u201D', u'\u2018', u'\u2019', u'\u00A0',
};

bool hasDecimalDigit(std::u16string_view text) {
    return std::ranges::any_of(scalarsOf(text), isDecimalDigitScalar, &TextScalar::scalar);
}

bool contains(std::u16string_view text, char16_t unit) { return text.find(unit) != std::u16string_view::npos; }

}  // namespace

bool isStyleEmoji(char32_t scalar) {
    return (scalar >= 0x1F000 && scalar <= 0x1FAFF) || (scalar >= 0x2600 && scalar <= 0x27BF);
}

// A year needs digits, so a text without digits has no years either; only the proper-noun scan
// is left, and only for texts long enough to be judged.
void appendZeroSpecificitySignal(StylePass& pass) {
    static const CompiledStylePattern properNoun(patterns::properNoun);
    constexpr std::u16string_view label = u"Zero specificity";
    if (pass.words < minimumSpecificityWords || hasDecimalDigit(pass.normalized)) return;
    const auto names = properNoun.matchDetails(pass.normalized);
    const bool namesSomething = std::any_of(names.matches.begin(), names.matches.end(), [](const MatchDetail& match) {
        return std::find(capitalizedOpeners.begin(), capitalizedOpeners.end(), match.text) == capitalizedOpeners.end();
    });
    if (namesSomething) return;
    if (!names.complete) {
        pass.noteIncomplete(label);
        return;
    }
    pass.append(label, 1, {u"0 digits, 0 years, 0 likely proper nouns"}, {});
}

void appendBurstinessSignal(StylePass& pass) {
    if (pass.words < minimumBurstinessWords) return;
    // Word counts as 32-bit integers: a long text of one-word sentences has tens of millions.
    std::vector<std::uint32_t> lengths;
    forEachSentencePiece(pass.normalized, [&](std::u16string_view sentence) {
        if (const auto words = styleWordCount(sentence); words > 0)
            lengths.push_back(static_cast<std::uint32_t>(words));
    });
    if (lengths.size() < minimumMeasuredSentences) return;
    const auto n = static_cast<double>(lengths.size());
    double sum = 0;
    for (const auto length : lengths) sum += static_cast<double>(length);
    const auto mean = sum / n;
    double squares = 0;
    for (const auto length : lengths)
        squares += (static_cast<double>(length) - mean) * (static_cast<double>(length) - mean);
    const auto variation = std::sqrt(squares / n) / mean;
    if (variation >= maximumEvenVariation) return;
    pass.append(u"Low sentence burstiness", 1, {}, {});
}

void appendChatPasteSignal(StylePass& pass) {
    const auto& text = pass.normalized;
    const bool curlyQuote = contains(text, u'\u201C') || contains(text, u'\u201D') || contains(text, u'\u2018') ||
                            contains(text, u'\u2019');
    if (!contains(text, u'\u2014') || !curlyQuote || !contains(text, u'\u00A0')) return;
    std::vector<TextLocation> locations;
    for (const auto character : chatPasteCharacters) {
        for (std::size_t index = 0; index < text.size(); ++index) {
            if (text[index] == character) locations.push_back({static_cast<std::int64_t>(index), 1});
        }
    }
    pass.append(u"Chat paste encoding fingerprint", 1, {u"curly quotes + em dash + NBSP"}, std::move(locations));
}

void appendEmojiSeasoningSignal(StylePass& pass) {
    std::vector<TextLocation> locations;
    for (const auto& [scalar, offset, length] : scalarsOf(pass.normalized)) {
        if (isStyleEmoji(scalar)) {
            locations.push_back({static_cast<std::int64_t>(offset), static_cast<std::int64_t>(length)});
        }
    }
    pass.appendOccurrences(u"Emoji seasoning", {}, std::move(locations));
}

}  // namespace velquor::text
