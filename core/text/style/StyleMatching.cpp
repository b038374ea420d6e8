#include "core/text/style/StyleMatching.h"

#include "core/text/base/IcuText.h"
#include "core/text/base/Utf.h"
#include "core/text/base/Whitespace.h"
#include "core/text/style/StyleSignalTexts.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace velquor::text {

namespace {

constexpr int snippetContextCharacters = 24;

bool isSentenceTerminator(char16_t unit) { return unit == u'.' || unit == u'!' || unit == u'?'; }

// Grapheme-cluster boundaries near a position, without walking the whole text.
class ClusterBoundaries {
public:
    explicit ClusterBoundaries(std::u16string_view text) : source_(aliasOf(text)) {
        UErrorCode status = U_ZERO_ERROR;
        iterator_.reset(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status) || !iterator_) throw std::runtime_error("ICU character break iterator is unavailable");
        iterator_->setText(source_);
    }

    // The boundary `count` clusters before the cluster that holds `position`, or the start.
    std::int64_t before(std::int64_t position, int count) {
        auto boundary = iterator_->isBoundary(static_cast<std::int32_t>(position))
                            ? static_cast<std::int32_t>(position)
                            : iterator_->preceding(static_cast<std::int32_t>(position));
        for (int step = 0; step < count && boundary > 0; ++step) boundary = iterator_->preceding(boundary);
        return std::max<std::int32_t>(boundary, 0);
    }

    // The boundary `count` clusters after the cluster that ends at or after `position`, or the end.
    std::int64_t after(std::int64_t position, int count) {
        const auto length = source_.length();
        auto boundary = iterator_->isBoundary(static_cast<std::int32_t>(position))
                            ? static_cast<std::int32_t>(position)
                            : iterator_->following(static_cast<std::int32_t>(position));
        for (int step = 0; step < count && boundary != icu::BreakIterator::DONE && boundary < length; ++step) {
            boundary = iterator_->following(boundary);
        }
        return boundary == icu::BreakIterator::DONE ? length : boundary;
    }

private:
    icu::UnicodeString source_;
    std::unique_ptr<icu::BreakIterator> iterator_;
};

}  // namespace

MatchDetails matchDetailsOf(std::u16string_view text, const RegexScan& scan) {
    MatchDetails details;
    details.complete = scan.complete;
    details.matches.reserve(scan.matches.size());
    const auto length = static_cast<std::int64_t>(text.size());
    for (const auto& match : scan.matches) {
        const auto range = match.range;
        // ICU ranges always fall inside the text; one that did not could not become a substring.
        if (range.utf16Location < 0 || range.utf16Length < 0 || range.end() > length) continue;
        details.matches.push_back(
            {text.substr(static_cast<std::size_t>(range.utf16Location), static_cast<std::size_t>(range.utf16Length)),
             range});
    }
    return details;
}

MatchDetails regexMatchDetails(std::u16string_view text, const Regex& regex) {
    return matchDetailsOf(text, regex.allMatches(text));
}

MatchDetails regexMatchDetails(std::u16string_view text, std::u16string_view pattern) {
    const auto regex = caseInsensitivePattern(pattern);
    if (!regex) return {};
    return regexMatchDetails(text, *regex);
}

std::optional<Regex> caseInsensitivePattern(std::u16string_view pattern) {
    return Regex::compile(pattern, {.caseInsensitive = true});
}

LiteralMatches literalMatchLocations(std::u16string_view text, std::u16string_view phrase) {
    const auto details = regexMatchDetails(text, Regex::escapedPattern(phrase));
    LiteralMatches literal;
    literal.complete = details.complete;
    literal.locations.reserve(details.matches.size());
    for (const auto& match : details.matches) literal.locations.push_back(match.location);
    return literal;
}

std::int64_t nonOverlappingCount(std::u16string_view text, std::u16string_view needle) {
    std::int64_t count = 0;
    for (auto found = text.find(needle); found != std::u16string_view::npos;
         found = text.find(needle, found + needle.size())) {
        ++count;
    }
    return count;
}

std::u16string snippetAround(std::u16string_view text, TextLocation location) {
    ClusterBoundaries boundaries(text);
    const auto start = boundaries.before(location.utf16Location, snippetContextCharacters);
    const auto end = boundaries.after(location.end(), snippetContextCharacters);
    std::u16string snippet(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
    std::replace(snippet.begin(), snippet.end(), u'\n', u' ');
    return std::u16string(trimmedWhitespaceAndNewlines(snippet));
}

std::optional<std::u16string_view> nextSentencePiece(std::u16string_view text, std::size_t& index) {
    while (index <= text.size()) {
        const auto start = index;
        while (index < text.size() && !isSentenceTerminator(text[index])) ++index;
        const auto piece = trimmedWhitespaceAndNewlines(text.substr(start, index - start));
        ++index;
        if (!piece.empty()) return piece;
    }
    return std::nullopt;
}

// The pattern's greedy run of other characters always reaches the next terminator or the end, and
// its terminator run is then as long as it goes; a scan resumes at the first non-terminator.
std::optional<MatchDetail> nextLocatedSentence(std::u16string_view text, std::size_t& index) {
    while (index < text.size()) {
        while (index < text.size() && isSentenceTerminator(text[index])) ++index;
        if (index == text.size()) break;
        const auto start = index;
        while (index < text.size() && !isSentenceTerminator(text[index])) ++index;
        while (index < text.size() && isSentenceTerminator(text[index])) ++index;
        const auto sentence = trimmedWhitespaceAndNewlines(text.substr(start, index - start));
        if (sentence.empty()) continue;
        const auto location = static_cast<std::int64_t>(sentence.data() - text.data());
        return MatchDetail{sentence, {location, static_cast<std::int64_t>(sentence.size())}};
    }
    return std::nullopt;
}

std::vector<std::u16string_view> sentences(std::u16string_view text) {
    std::vector<std::u16string_view> pieces;
    forEachSentencePiece(text, [&](std::u16string_view piece) { pieces.push_back(piece); });
    return pieces;
}

MatchDetails sentenceMatchDetails(std::u16string_view text) {
    MatchDetails located;
    forEachLocatedSentence(text, [&](const MatchDetail& sentence) { located.matches.push_back(sentence); });
    return located;
}

void appendCountSignal(std::u16string_view label, std::int64_t count, std::int64_t wordCount,
                       std::vector<std::u16string> examples, std::vector<TextLocation> locations,
                       std::vector<StyleSignal>& signals) {
    if (count <= 0) return;
    const auto rate = static_cast<double>(count) * 100.0 / static_cast<double>(wordCount);
    signals.emplace_back(std::u16string(label), count, rate, std::move(examples),
                         std::u16string(signalRationale(label)), std::u16string(signalFalsePositive(label)),
                         std::u16string(signalSuggestion(label)), std::move(locations));
}

}  // namespace velquor::text
