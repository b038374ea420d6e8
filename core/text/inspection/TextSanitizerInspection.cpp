#include "core/text/TextSanitizer.h"

#include "core/text/base/GraphemeClusters.h"
#include "core/text/inspection/HiddenPayloadDecoding.h"
#include "core/text/inspection/UnicodeInspection.h"
#include "core/text/base/Utf.h"

namespace velquor::text {

namespace {

struct ScalarCounts {
    std::int64_t scalars = 0;
    std::int64_t ascii = 0;
};

ScalarCounts countScalars(std::u16string_view text) {
    ScalarCounts counts;
    for (std::size_t i = 0; i < text.size();) {
        const auto [scalar, length] = scalarAt(text, i);
        ++counts.scalars;
        if (scalar <= 0x7F) ++counts.ascii;
        i += length;
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
