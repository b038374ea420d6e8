#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velquor::text {

struct TextChangeRow {
    std::u16string_view label;
    std::int64_t count;

    friend bool operator==(const TextChangeRow&, const TextChangeRow&) = default;
};

// What one cleaning pass changed.
struct TextChangeSummary {
    std::int64_t inputCharacters = 0;
    std::int64_t outputCharacters = 0;
    std::int64_t removedFormatControls = 0;
    std::int64_t removedInvisibleScalars = 0;
    std::int64_t removedPrivateUseScalars = 0;
    std::int64_t removedControlScalars = 0;
    std::int64_t normalizedWhitespaceScalars = 0;
    std::int64_t punctuationReplacementScalars = 0;
    std::int64_t markdownArtifactsFlattened = 0;
    std::int64_t unwrappedLineBreaks = 0;
    std::int64_t asciiReplacementScalars = 0;
    std::int64_t strippedURLTrackingParameters = 0;
    std::int64_t trimmedCharacters = 0;
    bool normalizedLineEndings = false;
    bool contentChanged = false;

    bool changed() const { return contentChanged; }

    // Always all eleven counted rows, in their fixed order, zero counts included.
    std::array<TextChangeRow, 11> rows() const;

    // What every display of a summary lists: the rows with a count of at least one, then
    // "Line endings normalized" with 1 when line endings were normalised.
    std::vector<TextChangeRow> displayedRows() const;

    // The sum of the eleven counts, plus one for normalised line endings.
    std::int64_t activeChangeCount() const;

    friend bool operator==(const TextChangeSummary&, const TextChangeSummary&) = default;
};

}  // namespace velquor::text
