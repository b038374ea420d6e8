#pragma once

#include "core/text/records/StyleReport.h"
#include "core/text/records/TextLocation.h"
#include "core/text/regex/Regex.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// Matching routines shared by the style pass, the change review and the rewrite comparison.

struct MatchDetail {
    std::u16string_view text;  // a view into the searched text
    TextLocation location;

    friend bool operator==(const MatchDetail&, const MatchDetail&) = default;
};

// The matches found, and whether the scan reached the end of the text within its step budget.
struct MatchDetails {
    std::vector<MatchDetail> matches;
    bool complete = true;
};

// The matches of a scan of `text`, with their texts.
MatchDetails matchDetailsOf(std::u16string_view text, const RegexScan& scan);

// Every match of an expression, left to right, with its text and UTF-16 location.
MatchDetails regexMatchDetails(std::u16string_view text, const Regex& regex);
// The same for a pattern compiled case-insensitively; one that does not compile matches nothing.
MatchDetails regexMatchDetails(std::u16string_view text, std::u16string_view pattern);

// A compiled case-insensitive pattern, for the fixed patterns callers keep.
std::optional<Regex> caseInsensitivePattern(std::u16string_view pattern);

struct LiteralMatches {
    std::vector<TextLocation> locations;
    bool complete = true;
};

// Case-insensitive substring matching under ICU's full case folding, without word boundaries.
LiteralMatches literalMatchLocations(std::u16string_view text, std::u16string_view phrase);

// Exact occurrences of a non-empty needle, each searched for after the end of the last one.
std::int64_t nonOverlappingCount(std::u16string_view text, std::u16string_view needle);

// Up to 24 characters (grapheme clusters) of context on either side of the location, with line
// feeds turned into spaces and white space trimmed from both ends.
std::u16string snippetAround(std::u16string_view text, TextLocation location);

// The next piece of the text split at every ".", "!" and "?" that starts at or after `index`,
// trimmed and not empty, which moves past it; nothing when none is left. A long text has
// millions of sentences, so signals walk them one at a time rather than hold them all.
std::optional<std::u16string_view> nextSentencePiece(std::u16string_view text, std::size_t& index);

// The next sentence that keeps its closing punctuation, trimmed and located, which moves past it:
// what the pattern [^.!?]+(?:[.!?]+|$) matches from `index` on, less white space at its ends.
std::optional<MatchDetail> nextLocatedSentence(std::u16string_view text, std::size_t& index);

// Calls visit(std::u16string_view) for each sentence piece, left to right.
template <class Visit>
void forEachSentencePiece(std::u16string_view text, Visit visit) {
    std::size_t index = 0;
    while (const auto piece = nextSentencePiece(text, index)) visit(*piece);
}

// Calls visit(const MatchDetail&) for each located sentence, left to right.
template <class Visit>
void forEachLocatedSentence(std::u16string_view text, Visit visit) {
    std::size_t index = 0;
    while (const auto sentence = nextLocatedSentence(text, index)) visit(*sentence);
}

// All the sentence pieces at once, for short texts.
std::vector<std::u16string_view> sentences(std::u16string_view text);

// All the located sentences at once, for short texts.
MatchDetails sentenceMatchDetails(std::u16string_view text);

// Appends a signal with the label's table texts when the count is positive.
void appendCountSignal(std::u16string_view label, std::int64_t count, std::int64_t wordCount,
                       std::vector<std::u16string> examples, std::vector<TextLocation> locations,
                       std::vector<StyleSignal>& signals);

}  // namespace velquor::text
