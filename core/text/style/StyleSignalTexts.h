#pragma once

#include <array>
#include <string_view>

namespace velquor::text {

// The texts a style signal carries, keyed by its label. Most signals explain themselves through
// their suggestion alone and have an empty rationale and false-positive note.
struct StyleSignalTexts {
    std::u16string_view label;
    std::u16string_view suggestion;
    std::u16string_view rationale;
    std::u16string_view falsePositive;
};

// All 26 signals, in evaluation order.
const std::array<StyleSignalTexts, 26>& styleSignalCatalogue();

// For a label the catalogue lacks: an empty rationale and note, and this suggestion.
inline constexpr std::u16string_view defaultStyleSuggestion =
    u"Review the highlighted passage and replace generic wording with your specific point.";

std::u16string_view signalSuggestion(std::u16string_view label);
std::u16string_view signalRationale(std::u16string_view label);
std::u16string_view signalFalsePositive(std::u16string_view label);

}  // namespace velquor::text
