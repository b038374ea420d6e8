#pragma once

#include "core/text/records/TextReport.h"

namespace velquor::cli {

// Whether a text report should fail a check such as a pre-commit hook: a Unicode issue other
// than a non-ASCII letter, a hidden payload, a High or Medium privacy finding, or a scan that
// could not finish (an unfinished scan is no proof that the text is clean). Style signals,
// non-ASCII letters and Info findings never do, so an emoji or an accented name always passes.
bool reportNeedsAttention(const text::TextReport& report);

}  // namespace velquor::cli
