#pragma once

#include "core/text/records/TextReport.h"

#include <ostream>

namespace velquor::cli {

// The report for people: counts, the Unicode issues with where they are, decoded hidden
// payloads, then each privacy finding with its masked examples and why it matters, then a
// warning for any scan that could not finish. Hidden characters show as <U+XXXX>.
// A scope limited with --only leaves out the sections it does not look at, style included.
struct TextReportSections {
    bool unicode = true;
    bool style = true;
    bool privacy = true;
};

void printTextReport(std::ostream& out, const text::TextReport& report, TextReportSections sections = {});

}  // namespace velquor::cli
