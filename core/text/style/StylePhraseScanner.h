#pragma once

#include "core/text/records/TextLocation.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// Finds every phrase of a fixed set in one pass over a text (an Aho-Corasick automaton), matched
// the way ICU matches a case-insensitive literal: under full case folding, starting and ending on
// scalar boundaries. So "harneß" matches "harness", "ﬁrst" matches "first" and "ſeamlessly"
// matches "seamlessly", with the lengths those spellings have in the text.
class StylePhraseScanner {
public:
    // At least one phrase; phrases must be non-empty, distinct, lower-case ASCII.
    explicit StylePhraseScanner(std::span<const std::u16string_view> phrases);

    // Every occurrence of each phrase, overlapping ones included, left to right; indexed like the
    // phrases.
    std::vector<std::vector<TextLocation>> occurrences(std::u16string_view text) const;

private:
    struct State {
        std::int32_t phrase = -1;      // the phrase that ends here, if any
        std::int32_t outputLink = -1;  // the longest proper suffix state where a phrase ends
    };

    std::int32_t symbolOf(char16_t unit) const;
    void buildTrie(std::span<const std::u16string_view> phrases);
    void linkFailures();

    std::vector<std::size_t> phraseLengths_;
    std::vector<std::int32_t> symbols_;  // ASCII unit to symbol; `otherSymbol` for units in no phrase
    std::int32_t symbolCount_ = 0;
    std::vector<State> states_;
    std::vector<std::int32_t> transitions_;  // states_.size() × symbolCount_
    std::size_t longestPhrase_ = 0;

    static constexpr std::int32_t otherSymbol = -1;
};

// The occurrences a left-to-right scan keeps: each one that starts at or after the end of the last
// one kept. Applied to one phrase's occurrences this gives exactly literalMatchLocations.
std::vector<TextLocation> nonOverlapping(const std::vector<TextLocation>& occurrences);

// Non-ASCII scalars whose full case folding contains an ASCII character (U+00DF, U+017F, U+212A,
// the Latin ligatures...), with that folding. Only these can take part in matching an ASCII
// phrase; every other non-ASCII scalar ends any match in progress.
const std::u16string* asciiBearingFolding(char32_t scalar);

}  // namespace velquor::text
