#include "core/text/TextSanitizer.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/GraphemeClusters.h"
#include "core/text/base/Utf.h"
#include "core/text/inspection/HiddenPayloadDecoding.h"
#include "core/text/inspection/UnicodeInspection.h"

namespace velquor::text {

namespace {

struct ScalarCounts {
    std::int64_t scalars = 0;
    std::int64_t ascii = 0;
};

ScalarCounts countScalars(std::u16string_view text) {
    ScalarCounts counts;
    for (const auto& [scalar, offset, length] : scalarsOf(text)) {
        ++counts.scalars;
        if (isAscii(scalar)) ++counts.ascii;
    }
    return counts;
}

}  // namespace

TextReport TextSanitizer::inspect(std::u16string_view text) const {
    TextReport report;
    const auto counts = countScalars(text);
    report.characters = graphemeClusterCount(text);
    report.scalars = counts.scalars;
    report.asciiScalars = counts.ascii;
    report.issues = unicodeIssues(text);
    report.hiddenPayloads = hiddenPayloads(text);
    report.styleReport = styleReport(text, report.timedOutScans);
    report.privacyReport = privacyReport(text, report.timedOutScans);
    return report;
}

}  // namespace velquor::text
