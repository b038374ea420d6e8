#include "cli/TerminalText.h"

#include "core/text/records/TextIssue.h"
#include "core/text/base/UnicodeScalarRules.h"
#include "core/text/base/Utf.h"

#include <unicode/uchar.h>

namespace velquor::cli {

bool isHiddenFromReaders(char32_t scalar) {
    if (scalar == U' ') return false;
    if (text::isVariationSelector(scalar) || text::isContextualInvisibleScalar(scalar)) return true;
    if (u_isUWhiteSpace(static_cast<UChar32>(scalar))) return true;
    switch (u_charType(static_cast<UChar32>(scalar))) {
        case U_CONTROL_CHAR:
        case U_FORMAT_CHAR:
        case U_PRIVATE_USE_CHAR:
        case U_SURROGATE:
        case U_LINE_SEPARATOR:
        case U_PARAGRAPH_SEPARATOR:
        case U_UNASSIGNED:
            return true;
        default:
            return false;
    }
}

std::string terminalSafe(std::u16string_view text) {
    std::string shown;
    for (const auto& [scalar, offset, length] : text::scalarsOf(text)) {
        if (isHiddenFromReaders(scalar)) {
            shown += "<" + text::encodeUtf8(text::codePointText(scalar)) + ">";
        } else {
            shown += text::encodeUtf8(text.substr(offset, length));
        }
    }
    return shown;
}

std::string counted(std::int64_t count, std::string_view singular, std::string_view plural) {
    return std::to_string(count) + " " + std::string(count == 1 ? singular : plural);
}

}  // namespace velquor::cli
