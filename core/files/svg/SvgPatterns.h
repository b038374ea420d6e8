#pragma once

#include <array>
#include <string_view>

namespace velquor::files {

// One regular expression of the SVG rules, with what makes it safe on hostile text. All of them
// are compiled case-insensitive.
struct SvgPattern {
    std::u16string_view rule;  // the rule as the SVG sanitizer defines it
    // An equivalent formulation with the same matches, scanned instead of the rule where the
    // rule backtracks exponentially or re-reads long runs. Empty: the rule is scanned as written.
    std::u16string_view scanPattern = {};
    // Where attempts begin, and the span a failed attempt rules out (see StartPruning), for
    // patterns that would otherwise search to the end of the text from every start. Empty for
    // patterns scanned plainly.
    std::u16string_view candidateStart = {};
    std::u16string_view ruledOutSpan = {};

    std::u16string_view patternToScan() const { return scanPattern.empty() ? rule : scanPattern; }
};

// What inspection counts, in evaluation order.
struct SvgDetectionRow {
    std::u16string_view section;
    std::u16string_view name;
    SvgPattern pattern;
};

// What cleaning removes, in the order it is applied; the replacement is literal.
struct SvgCleaningRow {
    SvgPattern pattern;
    std::u16string_view replacement;
};

const std::array<SvgDetectionRow, 16>& svgDetectionRows();
const std::array<SvgCleaningRow, 13>& svgCleaningRows();

// Matched anywhere in the text, the SVG root element that makes a text an SVG document.
inline constexpr std::u16string_view svgRootPattern = u"<svg\\b";

}  // namespace velquor::files
