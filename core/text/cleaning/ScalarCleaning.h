#pragma once

#include "core/text/records/TextChangeSummary.h"

#include <string>
#include <string_view>

namespace velquor::text {

// Every CR LF and every lone CR becomes LF.
std::u16string normalizedLineEndings(std::u16string_view text);

// The scalar pass of cleaning: removes the invisible, format, private-use and control scalars
// that no script needs (when removeUnsafeUnicode) and turns the no-break spaces into plain
// spaces (when normalizeWhitespace), counting each in the summary.
std::u16string cleanScalars(std::u16string_view text, bool removeUnsafeUnicode, bool normalizeWhitespace,
                            TextChangeSummary& summary);

// Later steps can take away what a spared joiner or mark was spared for: a trimmed edge, a
// stripped URL parameter, a removed private-use scalar that separated two joiners, a tab that
// became a space. This drops the invisible scalars the rules no longer spare in the finished
// text, counted as the scalar pass counts them, so that cleaning the output again changes nothing.
std::u16string settleInvisibleScalars(std::u16string text, TextChangeSummary& summary);

}  // namespace velquor::text
