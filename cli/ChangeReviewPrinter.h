#pragma once

#include "core/text/records/TextChangeReview.h"

#include <ostream>
#include <vector>

namespace velquor::cli {

// The review for people: per category its title, how many changes, where (UTF-16 offsets) and
// the example before and after, with hidden characters shown as <U+XXXX>.
void printChangeReview(std::ostream& out, const std::vector<text::TextChangeReviewItem>& items);

}  // namespace velquor::cli
