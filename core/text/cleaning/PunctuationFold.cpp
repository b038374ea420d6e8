#include "core/text/cleaning/PunctuationFold.h"

#include <algorithm>
#include <array>

namespace velquor::text {

namespace {

struct PunctuationReplacement {
    char16_t scalar;  // every key lies in the Basic Multilingual Plane
    std::u16string_view replacement;
};

constexpr std::array<PunctuationReplacement, 13> punctuationReplacements{{
    {u'\u2014', u"-"},    // em dash
    {u'\u2013', u"-"},    // en dash
    {u'\u2212', u"-"},    // minus sign
    {u'\u201C', u"\""},   // left double quotation mark
    {u'\u201D', u"\""},   // right double quotation mark
    {u'\u201E', u"\""},   // double low-9 quotation mark
    {u'\u2018', u"'"},    // left single quotation mark
    {u'\u2019', u"'"},    // right single quotation mark
    {u'\u201A', u"'"},    // single low-9 quotation mark
    {u'\u2026', u"..."},  // horizontal ellipsis
    {u'\u2032', u"'"},    // prime
    {u'\u2033', u"\""},   // double prime
    {u'\u2022', u"-"},    // bullet
}};

const PunctuationReplacement* replacementFor(char16_t unit) {
    // A surrogate is never a key, so unit by unit is scalar by scalar here.
    const auto* found = std::find_if(punctuationReplacements.begin(), punctuationReplacements.end(),
                                     [unit](const PunctuationReplacement& entry) { return entry.scalar == unit; });
    return found == punctuationReplacements.end() ? nullptr : found;
}

bool mayBeKey(char16_t unit) { return unit >= 0x2013 && unit <= 0x2212; }

}  // namespace

bool isFoldablePunctuation(char32_t scalar) {
    return scalar <= 0xFFFF && replacementFor(static_cast<char16_t>(scalar)) != nullptr;
}

std::int64_t foldablePunctuationCount(std::u16string_view text) {
    return std::count_if(text.begin(), text.end(),
                         [](char16_t unit) { return mayBeKey(unit) && replacementFor(unit) != nullptr; });
}

std::u16string foldPunctuation(std::u16string_view text) {
    std::u16string folded;
    folded.reserve(text.size());
    for (const char16_t unit : text) {
        const auto* entry = mayBeKey(unit) ? replacementFor(unit) : nullptr;
        if (entry) {
            folded += entry->replacement;
        } else {
            folded.push_back(unit);
        }
    }
    return folded;
}

}  // namespace velquor::text
