#include "core/text/style/StyleText.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/IcuText.h"
#include "core/text/base/Utf.h"

#include <unicode/locid.h>
#include <unicode/uniset.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace velquor::text {

namespace {

constexpr std::array<std::pair<char16_t, char16_t>, 37> confusables{{
    {u'\u0391', u'A'}, {u'\u0410', u'A'}, {u'\u0392', u'B'}, {u'\u0412', u'B'}, {u'\u0395', u'E'}, {u'\u0415', u'E'},
    {u'\u0397', u'H'}, {u'\u041D', u'H'}, {u'\u0399', u'I'}, {u'\u0406', u'I'}, {u'\u039A', u'K'}, {u'\u041A', u'K'},
    {u'\u039C', u'M'}, {u'\u041C', u'M'}, {u'\u039F', u'O'}, {u'\u041E', u'O'}, {u'\u03A1', u'P'}, {u'\u0420', u'P'},
    {u'\u03A4', u'T'}, {u'\u0422', u'T'}, {u'\u03A5', u'Y'}, {u'\u03A7', u'X'}, {u'\u0425', u'X'}, {u'\u0430', u'a'},
    {u'\u03B1', u'a'}, {u'\u0441', u'c'}, {u'\u03F2', u'c'}, {u'\u0435', u'e'}, {u'\u0456', u'i'}, {u'\u0458', u'j'},
    {u'\u043E', u'o'}, {u'\u03BF', u'o'}, {u'\u0440', u'p'}, {u'\u03C1', u'p'}, {u'\u0445', u'x'}, {u'\u03C7', u'x'},
    {u'\u0443', u'y'},
}};

// Lookalikes by code unit, from the lowest to the highest one.
struct ConfusableTable {
    char16_t first = 0xFFFF;
    char16_t last = 0;
    std::array<char16_t, 0x100> latin{};  // indexed from `first`; 0 where there is none
};

const ConfusableTable& confusableTable() {
    static const ConfusableTable table = [] {
        ConfusableTable built;
        for (const auto& [from, to] : confusables) {
            built.first = std::min(built.first, from);
            built.last = std::max(built.last, from);
        }
        if (static_cast<std::size_t>(built.last - built.first) >= built.latin.size())
            throw std::logic_error("lookalike table is too wide");
        for (const auto& [from, to] : confusables) built.latin[from - built.first] = to;
        return built;
    }();
    return table;
}

// The pattern's classes as ICU compiles them under case-insensitive matching: closed over case,
// so that for example U+017F LATIN SMALL LETTER LONG S and U+212A KELVIN SIGN are letters too.
class WordClasses {
public:
    WordClasses()
        : start_(closedSet(u"[A-Za-zÀ-ÖØ-öø-ÿ]")),
          continuation_(closedSet(u"[A-Za-zÀ-ÖØ-öø-ÿ'’-]")),
          asciiLetters_(closedSet(u"[A-Za-z]")) {}

    bool starts(char32_t scalar) const { return contains(start_, scalar); }
    bool continues(char32_t scalar) const { return contains(continuation_, scalar); }
    bool asciiLetter(char32_t scalar) const { return contains(asciiLetters_, scalar); }

private:
    static icu::UnicodeSet closedSet(std::u16string_view pattern) {
        UErrorCode status = U_ZERO_ERROR;
        icu::UnicodeSet set(aliasOf(pattern), USET_CASE_INSENSITIVE, nullptr, status);
        if (U_FAILURE(status)) throw std::logic_error("word class does not compile");
        set.removeAllStrings();
        set.freeze();
        return set;
    }

    static bool contains(const icu::UnicodeSet& set, char32_t scalar) {
        return set.contains(static_cast<UChar32>(scalar));
    }

    icu::UnicodeSet start_;
    icu::UnicodeSet continuation_;
    icu::UnicodeSet asciiLetters_;
};

const WordClasses& wordClasses() {
    static const WordClasses classes;
    return classes;
}

}  // namespace

std::span<const std::pair<char16_t, char16_t>> styleConfusables() { return confusables; }

std::u16string lookalikeNormalized(std::u16string_view text) {
    const auto& table = confusableTable();
    std::u16string normalized(text);
    for (auto& unit : normalized) {
        if (unit < table.first || unit > table.last) continue;
        if (const auto latin = table.latin[unit - table.first]) unit = latin;
    }
    return normalized;
}

bool startsStyleWord(char32_t scalar) {
    if (isAscii(scalar)) return isAsciiLetter(scalar);
    return wordClasses().starts(scalar);
}

bool continuesStyleWord(char32_t scalar) {
    if (isAscii(scalar)) return isAsciiLetter(scalar) || scalar == U'\'' || scalar == U'-';
    return wordClasses().continues(scalar);
}

bool isCaseInsensitiveAsciiLetter(char32_t scalar) {
    if (isAscii(scalar)) return isAsciiLetter(scalar);
    return wordClasses().asciiLetter(scalar);
}

std::optional<TextLocation> nextStyleWord(std::u16string_view text, std::size_t& index) {
    for (const auto& [scalar, start, length] : scalarsOf(text, index)) {
        if (!startsStyleWord(scalar)) continue;
        index = scalarRunEnd(text, start + length, continuesStyleWord);
        return TextLocation{static_cast<std::int64_t>(start), static_cast<std::int64_t>(index - start)};
    }
    index = text.size();
    return std::nullopt;
}

std::int64_t styleWordCount(std::u16string_view text) {
    std::int64_t count = 0;
    forEachStyleWord(text, [&](TextLocation) { ++count; });
    return count;
}

std::u16string_view firstStyleWord(std::u16string_view text) {
    std::size_t index = 0;
    const auto word = nextStyleWord(text, index);
    if (!word) return {};
    return text.substr(static_cast<std::size_t>(word->utf16Location), static_cast<std::size_t>(word->utf16Length));
}

}  // namespace velquor::text
