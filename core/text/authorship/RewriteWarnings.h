#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// A count found by a budgeted scan; nothing when the scan ran out before the end of the text.
using ScannedCount = std::optional<std::int64_t>;

// Paragraphs: the pieces between blank lines (a line of spaces and tabs is blank) that hold
// more than white space. Every run of a line feed, spaces and tabs and further line feeds, as
// the pattern "\n[ \t]*\n+" finds them, is one break.
std::int64_t paragraphCount(std::u16string_view text);

// Negation words such as "not", "never" and "isn't", as whole words in any case.
ScannedCount negationMarkerCount(std::u16string_view text);

struct RewriteMeasures {
    bool rewriteIsBlank = false;
    std::int64_t originalWords = 0;
    std::int64_t rewrittenWords = 0;
    std::int64_t originalParagraphs = 0;
    std::int64_t rewrittenParagraphs = 0;
    ScannedCount originalNegations;
    ScannedCount rewrittenNegations;
};

// The warnings for a rewrite, in their fixed order: empty, fewer paragraphs, much longer or
// much shorter, changed negation. A negation count that could not be made gives no warning.
std::vector<std::u16string> rewriteWarnings(const RewriteMeasures& measures);

}  // namespace velquor::text
