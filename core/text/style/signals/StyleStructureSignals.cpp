#include "core/text/base/Ascii.h"
#include "core/text/base/TextConversions.h"
#include "core/text/base/Utf.h"
#include "core/text/base/Whitespace.h"
#include "core/text/style/StylePatterns.h"
#include "core/text/style/StyleText.h"
#include "core/text/style/signals/StyleSignals.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <unordered_set>

namespace velquor::text {

namespace {

namespace patterns = style_patterns;

constexpr std::size_t maximumExamples = 3;
constexpr char16_t emDash = u'\u2014';

std::int64_t countOf(std::u16string_view text, char16_t unit) {
    return static_cast<std::int64_t>(std::count(text.begin(), text.end(), unit));
}

std::vector<TextLocation> locationsOf(std::u16string_view text, char16_t unit) {
    std::vector<TextLocation> locations;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] == unit) locations.push_back({static_cast<std::int64_t>(index), 1});
    }
    return locations;
}

// Openers the default assistant style leans on.
constexpr std::array<std::u16string_view, 9> templatedOpeners{
    u"this", u"it", u"by", u"while", u"however", u"additionally", u"ultimately", u"furthermore", u"in",
};
constexpr std::size_t minimumOpeners = 6;
constexpr double maximumOpenerVariety = 0.55;

// Sandwich thresholds.
constexpr std::int64_t minimumSandwichWords = 120;
constexpr std::size_t minimumContentWordLength = 4;
constexpr double minimumSharedShare = 0.34;

std::vector<std::u16string_view> paragraphs(std::u16string_view text) {
    std::vector<std::u16string_view> pieces;
    std::size_t start = 0;
    while (true) {
        const auto separator = text.find(u"\n\n", start);
        const auto piece = trimmedWhitespaceAndNewlines(
            text.substr(start, separator == std::u16string_view::npos ? std::u16string_view::npos : separator - start));
        if (!piece.empty() && piece != u"---") pieces.push_back(piece);
        if (separator == std::u16string_view::npos) break;
        start = separator + 2;
    }
    return pieces;
}

std::set<std::u16string> contentWords(std::u16string_view paragraph) {
    std::set<std::u16string> words;
    forEachStyleWord(paragraph, [&](TextLocation word) {
        auto lower = lowercased(
            paragraph.substr(static_cast<std::size_t>(word.utf16Location), static_cast<std::size_t>(word.utf16Length)));
        if (lower.size() >= minimumContentWordLength) words.insert(std::move(lower));
    });
    return words;
}

enum class Script { latin, cyrillic, greek, other };

Script scriptOf(char32_t letter) {
    if (isAsciiLetter(letter) || (letter >= 0xC0 && letter <= 0x24F)) {
        return Script::latin;
    }
    if ((letter >= 0x370 && letter <= 0x3FF) || (letter >= 0x1F00 && letter <= 0x1FFF)) return Script::greek;
    if ((letter >= 0x400 && letter <= 0x52F) || (letter >= 0x2DE0 && letter <= 0x2DFF) ||
        (letter >= 0xA640 && letter <= 0xA69F)) {
        return Script::cyrillic;
    }
    return Script::other;
}

bool isLetter(char32_t scalar) { return u_isalpha(static_cast<UChar32>(scalar)); }

std::map<Script, std::int64_t> scriptCounts(std::u16string_view word) {
    std::map<Script, std::int64_t> counts;
    for (const auto& [scalar, offset, length] : scalarsOf(word)) {
        if (isLetter(scalar)) ++counts[scriptOf(scalar)];
    }
    return counts;
}

// Without a single Greek or Cyrillic letter no word can mix scripts, which spares the word scan
// on nearly every text.
bool isGreekOrCyrillicLetter(char32_t scalar) {
    if (scalar < 0x370) return false;
    const auto script = scriptOf(scalar);
    return (script == Script::greek || script == Script::cyrillic) && isLetter(scalar);
}

bool hasGreekOrCyrillicLetter(std::u16string_view text) {
    return std::ranges::any_of(scalarsOf(text), isGreekOrCyrillicLetter, &TextScalar::scalar);
}

std::optional<std::u16string> mixedScriptExample(std::u16string_view word) {
    const auto counts = scriptCounts(word);
    const auto countOfScript = [&](Script script) {
        const auto found = counts.find(script);
        return found == counts.end() ? std::int64_t{0} : found->second;
    };
    const auto latin = countOfScript(Script::latin);
    if (latin == 0 || countOfScript(Script::cyrillic) + countOfScript(Script::greek) == 0) return std::nullopt;
    // The host is the script with the most letters; a tie goes to Latin.
    const auto host = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    const bool latinHost = host->first == Script::latin || host->second == latin;
    return std::u16string(latinHost ? u"Latin host with Cyrillic/Greek: " : u"Non-Latin host with stray Latin: ") +
           std::u16string(word);
}

std::u16string_view trimmedSpacesAndTabs(std::u16string_view line) {
    const auto first = line.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(u" \t") - first + 1);
}

bool hasStyleEmoji(std::u16string_view text) {
    return std::ranges::any_of(scalarsOf(text), isStyleEmoji, &TextScalar::scalar);
}

}  // namespace

void appendOpenerVarietySignal(StylePass& pass) {
    // Only the distinct openers are kept: a long text has millions of sentences but few openers.
    std::unordered_set<std::u16string> distinctOpeners;
    std::size_t total = 0;
    std::size_t templated = 0;
    forEachSentencePiece(pass.normalized, [&](std::u16string_view sentence) {
        const auto word = firstStyleWord(sentence);
        if (word.empty()) return;
        auto opener = lowercased(word);
        ++total;
        if (std::find(templatedOpeners.begin(), templatedOpeners.end(), opener) != templatedOpeners.end()) ++templated;
        distinctOpeners.insert(std::move(opener));
    });
    if (total < minimumOpeners) return;
    const auto distinct = distinctOpeners.size();
    const auto ratio = static_cast<double>(distinct) / static_cast<double>(total);
    const bool fires =
        ratio <= maximumOpenerVariety || (total <= 7 && templated > 3) || (total >= 8 && templated >= total / 2);
    if (!fires) return;
    const auto count = static_cast<std::int64_t>(total - distinct + templated);
    pass.append(u"Low sentence-opener variety", count,
                {decimalText(static_cast<std::int64_t>(distinct)) + u" distinct openers across " +
                 decimalText(static_cast<std::int64_t>(total)) + u" sentences"},
                {});
}

void appendSandwichSignal(StylePass& pass) {
    if (pass.divisor < minimumSandwichWords) return;
    const auto pieces = paragraphs(pass.normalized);
    if (pieces.empty() || pieces.front() == pieces.back()) return;
    const auto first = contentWords(pieces.front());
    const auto last = contentWords(pieces.back());
    if (first.empty() || last.empty()) return;
    const auto shared = static_cast<std::int64_t>(
        std::count_if(first.begin(), first.end(), [&](const auto& word) { return last.contains(word); }));
    const auto smaller = static_cast<double>(std::min(first.size(), last.size()));
    if (static_cast<double>(shared) / smaller < minimumSharedShare) return;
    if (lowercased(pieces.back()).find(u"conclusion") == std::u16string::npos) return;
    pass.append(u"Intro/conclusion sandwich", 1,
                {decimalText(shared) + u" repeated content words between first and last paragraph"}, {});
}

void appendMixedScriptSignal(StylePass& pass) {
    static const CompiledStylePattern word(patterns::mixedScriptWord);
    constexpr std::u16string_view label = u"Mixed-script words";
    if (!hasGreekOrCyrillicLetter(pass.input)) return;
    const auto words = word.matchDetails(pass.input);
    if (!words.complete) pass.noteIncomplete(label);
    std::vector<std::u16string> examples;
    std::vector<TextLocation> locations;
    for (const auto& match : words.matches) {
        auto example = mixedScriptExample(match.text);
        if (!example) continue;
        if (examples.size() < maximumExamples) examples.push_back(std::move(*example));
        locations.push_back(match.location);
    }
    pass.appendOccurrences(label, std::move(examples), std::move(locations));
}

void appendUniformSpacingSignal(StylePass& pass) {
    static const CompiledStylePattern doubleSpaced(patterns::doubleSpacedBreak);
    constexpr std::u16string_view label = u"Uniform punctuation spacing";
    const auto dashes = countOf(pass.input, emDash);
    if (dashes < 3) return;
    if (nonOverlappingCount(pass.input, u" \u2014 ") != dashes) return;
    const auto breaks = doubleSpaced.matchDetails(pass.input);
    if (!breaks.matches.empty()) return;
    if (!breaks.complete) {
        pass.noteIncomplete(label);
        return;
    }
    pass.append(
        label, dashes,
        {decimalText(dashes) + u" em dashes all use identical surrounding spaces; 0 double-spaced sentence breaks"},
        locationsOf(pass.input, emDash));
}

void appendStructureRatioSignal(StylePass& pass) {
    static const CompiledStylePattern marker(patterns::structureMarker);
    constexpr std::u16string_view label = u"High structure-to-body ratio";
    const auto sentenceCount = pass.sentencePieceCount;
    if (sentenceCount < 5) return;
    const auto markers = marker.matchDetails(pass.input);
    if (!markers.complete) pass.noteIncomplete(label);
    const auto markerCount = static_cast<std::int64_t>(markers.matches.size());
    if (static_cast<double>(markerCount) / static_cast<double>(sentenceCount) < 0.28) return;
    std::vector<TextLocation> locations;
    for (const auto& match : markers.matches) locations.push_back(match.location);
    pass.append(
        label, markerCount,
        {decimalText(markerCount) + u" structural markers across " + decimalText(sentenceCount) + u" sentences"},
        std::move(locations));
}

void appendEmojiAsPunctuationSignal(StylePass& pass) {
    static const CompiledStylePattern line(patterns::line);
    constexpr std::u16string_view label = u"Emoji as punctuation";
    if (!hasStyleEmoji(pass.input)) return;
    const auto lines = line.matchDetails(pass.input);
    if (!lines.complete) pass.noteIncomplete(label);
    std::vector<std::u16string> examples;
    std::vector<TextLocation> locations;
    for (const auto& match : lines.matches) {
        const auto trimmed = trimmedSpacesAndTabs(match.text);
        if (trimmed.empty()) continue;
        const auto last = scalarBefore(trimmed, trimmed.size());
        if (!isStyleEmoji(last.scalar)) continue;
        const auto end = match.location.utf16Location + (trimmed.data() - match.text.data()) + std::ssize(trimmed);
        if (examples.size() < maximumExamples) examples.emplace_back(trimmed);
        locations.push_back({end - static_cast<std::int64_t>(last.length), static_cast<std::int64_t>(last.length)});
    }
    if (locations.size() < 2) return;
    pass.appendOccurrences(label, std::move(examples), std::move(locations));
}

void appendEmDashSignal(StylePass& pass) {
    const auto dashes = countOf(pass.normalized, emDash);
    const auto parens = (countOf(pass.normalized, u'(') + countOf(pass.normalized, u')')) / 2;
    const auto semicolons = countOf(pass.normalized, u';');
    const auto colons = countOf(pass.normalized, u':');
    if (dashes < 2) return;
    if (static_cast<double>(dashes) / static_cast<double>(parens + semicolons + colons + 1) < 1.5) return;
    pass.append(u"Em dash as parenthetical", dashes,
                {decimalText(dashes) + u" em dashes vs " + decimalText(parens) + u" parens, " +
                 decimalText(semicolons) + u" semicolons, " + decimalText(colons) + u" colons"},
                locationsOf(pass.normalized, emDash));
}

}  // namespace velquor::text
