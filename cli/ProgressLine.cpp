#include "cli/ProgressLine.h"

namespace velquor::cli {

namespace {

// Carriage return, then erase to the end of the line.
constexpr std::string_view eraseLine = "\r\x1B[K";

}  // namespace

void ProgressLine::show(std::string_view text) {
    if (!shown_) return;
    err_ << eraseLine << text << std::flush;
    onScreen_ = true;
}

void ProgressLine::clear() {
    if (!onScreen_) return;
    err_ << eraseLine << std::flush;
    onScreen_ = false;
}

}  // namespace velquor::cli
