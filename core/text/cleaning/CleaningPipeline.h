#pragma once

#include "core/text/records/CleaningOptions.h"
#include "core/text/records/TextChangeSummary.h"

#include <string>
#include <string_view>

namespace velquor::text {

struct CleanedText {
    std::u16string text;
    TextChangeSummary summary;  // every count but the two character counts
};

// The cleaning steps in their fixed order: line endings, the scalar pass, punctuation, hard
// wraps, Markdown, URL tracking, ASCII, then line and edge white space.
CleanedText runCleaningSteps(std::u16string_view input, const CleaningOptions& options);

}  // namespace velquor::text
