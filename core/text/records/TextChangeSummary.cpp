#include "core/text/records/TextChangeSummary.h"

namespace velquor::text {

std::array<TextChangeRow, 11> TextChangeSummary::rows() const {
    return {{
        {u"Format controls removed", removedFormatControls},
        {u"Invisible scalars removed", removedInvisibleScalars},
        {u"Private-use scalars removed", removedPrivateUseScalars},
        {u"Control characters removed", removedControlScalars},
        {u"Whitespace normalized", normalizedWhitespaceScalars},
        {u"Punctuation replaced", punctuationReplacementScalars},
        {u"Markdown artifacts flattened", markdownArtifactsFlattened},
        {u"Hard wraps removed", unwrappedLineBreaks},
        {u"ASCII replacements", asciiReplacementScalars},
        {u"URL tracking params stripped", strippedURLTrackingParameters},
        {u"Trimmed edge characters", trimmedCharacters},
    }};
}

std::vector<TextChangeRow> TextChangeSummary::displayedRows() const {
    std::vector<TextChangeRow> shown;
    for (const auto& row : rows()) {
        if (row.count >= 1) shown.push_back(row);
    }
    if (normalizedLineEndings) shown.push_back({u"Line endings normalized", 1});
    return shown;
}

std::int64_t TextChangeSummary::activeChangeCount() const {
    std::int64_t total = normalizedLineEndings ? 1 : 0;
    for (const auto& row : rows()) total += row.count;
    return total;
}

}  // namespace velquor::text
