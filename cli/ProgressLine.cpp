#include "cli/ProgressLine.h"

#include "core/text/base/Utf.h"

namespace velquor::cli {

namespace {

// Carriage return, then erase to the end of the line.
constexpr std::string_view eraseLine = "\r\x1B[K";

}  // namespace

void ProgressLine::show(std::u16string_view line) {
    if (!shown_) return;
    err_ << eraseLine << text::encodeUtf8(line) << std::flush;
    onScreen_ = true;
}

void ProgressLine::clear() {
    if (!onScreen_) return;
    err_ << eraseLine << std::flush;
    onScreen_ = false;
}

}  // namespace velquor::cli
