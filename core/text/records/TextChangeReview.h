#pragma once

#include "core/text/records/TextChangeCategory.h"
#include "core/text/records/TextLocation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velquor::text {

// One example change: the reviewed text at a location and what it becomes (never equal).
struct TextChangePreview {
    std::u16string before;
    std::u16string after;

    friend bool operator==(const TextChangePreview&, const TextChangePreview&) = default;
};

// One category of change found in a text; a review list holds at most one item per category.
struct TextChangeReviewItem {
    TextChangeCategory category;
    std::int64_t count = 0;
    std::vector<TextLocation> locations;  // in the reviewed (uncleaned) text
    std::optional<TextChangePreview> preview;

    TextChangeCategory id() const { return category; }

    friend bool operator==(const TextChangeReviewItem&, const TextChangeReviewItem&) = default;
};

}  // namespace velquor::text
