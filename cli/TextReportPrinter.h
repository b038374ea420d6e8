#pragma once

#include <text/TextReport.h>

#include <ostream>

namespace velquor::cli {

// The report for people: counts, then each privacy finding with its masked examples and why
// it matters, then a warning for any scan that could not finish.
void printTextReport(std::ostream& out, const text::TextReport& report);

}  // namespace velquor::cli
