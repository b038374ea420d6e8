#pragma once

#include "cli/JsonWriter.h"

#include "core/text/records/TextChangeReview.h"
#include "core/text/records/TextCleanResult.h"
#include "core/text/records/TextLocation.h"

#include <ostream>
#include <vector>

namespace velquor::cli {

// Locations as [{"utf16Location", "utf16Length"}, ...].
void writeLocations(JsonWriter& json, const std::vector<text::TextLocation>& locations);

// {text, summary, changedOutputOffsets} on one line; the summary with every field, `changed`
// and its eleven `rows`.
void writeCleanResultJson(std::ostream& out, const text::TextCleanResult& result);

// The same object as a value inside a larger document.
void writeCleanResult(JsonWriter& json, const text::TextCleanResult& result);

// The review items as one JSON array on one line; an absent preview is null.
void writeChangeReviewJson(std::ostream& out, const std::vector<text::TextChangeReviewItem>& items);

}  // namespace velquor::cli
