#pragma once

#include "core/text/records/RewriteComparisonReport.h"

#include <ostream>

namespace velquor::cli {

// The comparison for people: word and paragraph counts, lost and new anchors, warnings, what a
// hygiene cleaning of the rewrite would still change, the size of the word diff, then the full
// inspection of the rewrite. Inspected text is shown terminal-safe.
void printRewriteComparison(std::ostream& out, const text::RewriteComparisonReport& report);

// The report as one JSON object on one line, with the derived hasConcerns.
void writeRewriteComparisonJson(std::ostream& out, const text::RewriteComparisonReport& report);

}  // namespace velquor::cli
