#pragma once

#include <array>
#include <span>
#include <string_view>

namespace velquor::text {

// A phrase-list signal: lower-case phrases, written with the plain apostrophe, each matched as a
// case-insensitive substring. A phrase may belong to more than one list and counts in each.
struct StylePhraseList {
    std::u16string_view label;
    std::span<const std::u16string_view> phrases;
};

// The six lists, in evaluation order.
const std::array<StylePhraseList, 6>& stylePhraseLists();

// Title and label phrases of templated documents, counted by "Structural boilerplate".
std::span<const std::u16string_view> structuralBoilerplatePhrases();

// Adjectives that carry little information; a list of three that contains one reads as padding.
const std::array<std::u16string_view, 16>& lowInformationAdjectives();

}  // namespace velquor::text
