#include "core/text/style/StylePhraseScanner.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/Utf.h"

#include <unicode/uniset.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <bitset>
#include <deque>
#include <map>
#include <stdexcept>

namespace velquor::text {

namespace {

std::u16string fullCaseFolding(char32_t scalar) {
    std::u16string source;
    appendScalar(source, scalar);
    std::u16string folded(8, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const auto length = u_strFoldCase(folded.data(), static_cast<std::int32_t>(folded.size()), source.data(),
                                      static_cast<std::int32_t>(source.size()), U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status)) throw std::runtime_error("ICU case folding failed");
    folded.resize(static_cast<std::size_t>(length));
    return folded;
}

class AsciiBearingFoldings {
public:
    AsciiBearingFoldings() {
        // A scalar whose folding differs from itself changes when case-mapped. Changes_When_Casefolded
        // alone is not enough: it is defined on the canonical decomposition, so it leaves out
        // U+01F0, whose folding is its own decomposition "j\u030C".
        UErrorCode status = U_ZERO_ERROR;
        const icu::UnicodeSet changing(u"[[:Changes_When_Casefolded:][:Changes_When_Casemapped:]]", status);
        if (U_FAILURE(status)) throw std::runtime_error("ICU property set is unavailable");
        for (std::int32_t range = 0; range < changing.getRangeCount(); ++range) {
            for (auto scalar = changing.getRangeStart(range); scalar <= changing.getRangeEnd(range); ++scalar) {
                if (isAscii(static_cast<char32_t>(scalar))) continue;
                auto folded = fullCaseFolding(static_cast<char32_t>(scalar));
                if (std::any_of(folded.begin(), folded.end(), isAscii)) {
                    if (scalar < 0x10000) basic_.set(static_cast<std::size_t>(scalar));
                    foldings_.emplace(static_cast<char32_t>(scalar), std::move(folded));
                }
            }
        }
    }

    const std::u16string* find(char32_t scalar) const {
        if (scalar < 0x10000 && !basic_.test(scalar)) return nullptr;
        const auto found = foldings_.find(scalar);
        return found == foldings_.end() ? nullptr : &found->second;
    }

private:
    std::bitset<0x10000> basic_;
    std::map<char32_t, std::u16string> foldings_;
};

// A symbol of the folded text: where its scalar starts in the text and whether it is the first
// of that scalar's folding. A match may begin only on a first symbol and end only on a last one,
// as ICU never starts or stops a case-insensitive literal inside one scalar's folding.
struct FoldedSymbol {
    std::int64_t scalarStart = 0;
    bool startsScalar = false;
};

}  // namespace

std::vector<TextLocation> nonOverlapping(const std::vector<TextLocation>& occurrences) {
    std::vector<TextLocation> kept;
    std::int64_t lastEnd = 0;
    for (const auto occurrence : occurrences) {
        if (occurrence.utf16Location < lastEnd) continue;
        kept.push_back(occurrence);
        lastEnd = occurrence.end();
    }
    return kept;
}

const std::u16string* asciiBearingFolding(char32_t scalar) {
    static const AsciiBearingFoldings foldings;
    return foldings.find(scalar);
}

StylePhraseScanner::StylePhraseScanner(std::span<const std::u16string_view> phrases) : symbols_(0x80, otherSymbol) {
    if (phrases.empty()) throw std::invalid_argument("no phrases to scan for");
    for (const auto phrase : phrases) {
        if (phrase.empty()) throw std::invalid_argument("empty phrase");
        for (const auto unit : phrase) {
            if (!isAscii(unit) || asciiLowered(unit) != unit)
                throw std::invalid_argument("phrase is not lower-case ASCII");
            if (symbols_[unit] == otherSymbol) symbols_[unit] = symbolCount_++;
        }
        longestPhrase_ = std::max(longestPhrase_, phrase.size());
    }
    buildTrie(phrases);
    linkFailures();
}

std::int32_t StylePhraseScanner::symbolOf(char16_t unit) const {
    return isAscii(unit) ? symbols_[asciiLowered(unit)] : otherSymbol;
}

void StylePhraseScanner::buildTrie(std::span<const std::u16string_view> phrases) {
    states_.assign(1, State{});
    transitions_.assign(static_cast<std::size_t>(symbolCount_), -1);
    for (std::size_t index = 0; index < phrases.size(); ++index) {
        std::int32_t state = 0;
        for (const auto unit : phrases[index]) {
            auto& next = transitions_[static_cast<std::size_t>(state * symbolCount_ + symbols_[unit])];
            if (next < 0) {
                next = static_cast<std::int32_t>(states_.size());
                states_.emplace_back();
                transitions_.resize(transitions_.size() + static_cast<std::size_t>(symbolCount_), -1);
            }
            state = transitions_[static_cast<std::size_t>(state * symbolCount_ + symbols_[unit])];
        }
        if (states_[static_cast<std::size_t>(state)].phrase >= 0) throw std::invalid_argument("duplicate phrase");
        states_[static_cast<std::size_t>(state)].phrase = static_cast<std::int32_t>(index);
        phraseLengths_.push_back(phrases[index].size());
    }
}

// Breadth first, so that every state's failure state is complete before its children need it;
// missing transitions become the failure state's, which turns the trie into a plain automaton.
void StylePhraseScanner::linkFailures() {
    std::vector<std::int32_t> failure(states_.size(), 0);
    std::deque<std::int32_t> queue;
    for (std::int32_t symbol = 0; symbol < symbolCount_; ++symbol) {
        auto& next = transitions_[static_cast<std::size_t>(symbol)];
        if (next < 0) {
            next = 0;
        } else {
            queue.push_back(next);
        }
    }
    while (!queue.empty()) {
        const auto state = queue.front();
        queue.pop_front();
        const auto fallback = failure[static_cast<std::size_t>(state)];
        const auto& fallbackState = states_[static_cast<std::size_t>(fallback)];
        states_[static_cast<std::size_t>(state)].outputLink =
            fallbackState.phrase >= 0 ? fallback : fallbackState.outputLink;
        for (std::int32_t symbol = 0; symbol < symbolCount_; ++symbol) {
            auto& next = transitions_[static_cast<std::size_t>(state * symbolCount_ + symbol)];
            const auto fallbackNext = transitions_[static_cast<std::size_t>(fallback * symbolCount_ + symbol)];
            if (next < 0) {
                next = fallbackNext;
            } else {
                failure[static_cast<std::size_t>(next)] = fallbackNext;
                queue.push_back(next);
            }
        }
    }
}

std::vector<std::vector<TextLocation>> StylePhraseScanner::occurrences(std::u16string_view text) const {
    std::vector<std::vector<TextLocation>> found(phraseLengths_.size());
    std::vector<FoldedSymbol> recent(longestPhrase_);  // the last symbols, as a ring
    std::size_t symbolIndex = 0;
    std::int32_t state = 0;

    const auto step = [&](char16_t unit, std::int64_t scalarStart, bool first, bool last, std::int64_t scalarEnd) {
        const auto symbol = symbolOf(unit);
        state = symbol == otherSymbol ? 0 : transitions_[static_cast<std::size_t>(state * symbolCount_ + symbol)];
        recent[symbolIndex % recent.size()] = {scalarStart, first};
        ++symbolIndex;
        if (!last) return;
        for (auto output = states_[static_cast<std::size_t>(state)].phrase >= 0
                               ? state
                               : states_[static_cast<std::size_t>(state)].outputLink;
             output >= 0; output = states_[static_cast<std::size_t>(output)].outputLink) {
            const auto phrase = static_cast<std::size_t>(states_[static_cast<std::size_t>(output)].phrase);
            const auto& start = recent[(symbolIndex - phraseLengths_[phrase]) % recent.size()];
            if (start.startsScalar) found[phrase].push_back({start.scalarStart, scalarEnd - start.scalarStart});
        }
    };

    for (const auto& [scalar, offset, length] : scalarsOf(text)) {
        const auto start = static_cast<std::int64_t>(offset);
        const auto end = static_cast<std::int64_t>(offset + length);
        if (isAscii(scalar)) {
            step(static_cast<char16_t>(scalar), start, true, true, end);
        } else if (const auto* folding = asciiBearingFolding(scalar)) {
            for (std::size_t unit = 0; unit < folding->size(); ++unit) {
                step((*folding)[unit], start, unit == 0, unit + 1 == folding->size(), end);
            }
        } else {
            step(0xFFFF, start, true, true, end);
        }
    }
    return found;
}

}  // namespace velquor::text
