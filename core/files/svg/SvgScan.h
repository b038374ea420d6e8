#pragma once

#include "core/files/svg/SvgPatterns.h"

#include "core/text/regex/PrunedRegexScan.h"
#include "core/text/regex/Regex.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::files {

// A pattern of the SVG rules ready to scan: its scanned form, pruned where it has a pruning.
// A pattern that does not compile finds nothing.
class CompiledSvgPattern {
public:
    CompiledSvgPattern(const SvgPattern& pattern, text::RegexOptions options);

    // Every match over the whole text; `complete` is false when the scan ran out of its budget.
    text::RegexScan scan(std::u16string_view text) const;

private:
    std::optional<text::Regex> regex_;
    std::optional<text::StartPruning> pruning_;
};

// Every SVG scan either finishes or fails the file as unreadable: a scan that ran out of time
// must never pass for "nothing found".

// How often a report row's construct occurs.
struct SvgRowCount {
    std::u16string_view section;
    std::u16string_view name;
    std::size_t count = 0;
};

// The match count of every detection row, in row order.
std::vector<SvgRowCount> svgDetectionCounts(std::u16string_view text);

// The text after every cleaning replacement, each applied to the result of the one before.
std::u16string svgAfterReplacements(std::u16string_view text);

// Whether the text holds an SVG root element.
bool containsSvgRoot(std::u16string_view text);

}  // namespace velquor::files
