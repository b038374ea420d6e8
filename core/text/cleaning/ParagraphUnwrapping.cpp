#include "core/text/cleaning/ParagraphUnwrapping.h"

#include "core/text/base/UnicodeScalarRules.h"
#include "core/text/base/Utf.h"
#include "core/text/base/Whitespace.h"

#include <unicode/uchar.h>

#include <vector>

namespace velquor::text {

namespace {

// The platform's white-space set without line breaks: space separators and the tab.
bool isSpaceOrTab(char32_t scalar) {
    return scalar == U'\t' || u_charType(static_cast<UChar32>(scalar)) == U_SPACE_SEPARATOR;
}

std::u16string_view trimmedSpacesAndTabs(std::u16string_view line) {
    const auto start = scalarRunEnd(line, 0, isSpaceOrTab);
    std::size_t end = line.size();
    // Every space separator lies in the Basic Multilingual Plane.
    while (end > start && isSpaceOrTab(line[end - 1])) --end;
    return line.substr(start, end - start);
}

bool isFenceLine(std::u16string_view line) {
    const auto trimmed = trimmedSpacesAndTabs(line);
    return trimmed.starts_with(u"```") || trimmed.starts_with(u"~~~");
}

// What ICU's $ accepts after the last character without multi-line mode: the end, or one line
// terminator (CR LF counting as one) that ends the text.
bool isAtEndOrFinalLineTerminator(std::u16string_view rest) {
    if (rest.empty() || rest == u"\r\n") return true;
    return rest.size() == 1 && isLineTerminator(rest.front());
}

bool isListMarker(std::u16string_view line) {
    if (line.size() >= 2 && (line[0] == u'-' || line[0] == u'*' || line[0] == u'+') && line[1] == u' ') return true;
    // ICU's \d takes any decimal digit, not only ASCII ones.
    const auto position = scalarRunEnd(line, 0, isDecimalDigitScalar);
    return position > 0 && position + 1 < line.size() && (line[position] == u'.' || line[position] == u')') &&
           line[position + 1] == u' ';
}

bool isRule(std::u16string_view line) {
    if (line.empty()) return false;
    const char16_t mark = line.front();
    if (mark != u'-' && mark != u'*' && mark != u'_') return false;
    std::size_t run = 0;
    while (run < line.size() && line[run] == mark) ++run;
    return run >= 3 && isAtEndOrFinalLineTerminator(line.substr(run));
}

bool isHardBreak(std::u16string_view line) { return line.ends_with(u"  "); }

}  // namespace

bool matchesStructuralLinePattern(std::u16string_view trimmedLine) {
    return isListMarker(trimmedLine) || isRule(trimmedLine);
}

bool isStructuralMarkdownLine(std::u16string_view line) {
    if (line.starts_with(u"\t") || line.starts_with(u"    ")) return true;
    const auto trimmed = trimmedSpacesAndTabs(line);
    if (trimmed.starts_with(u"#") || trimmed.starts_with(u">")) return true;
    if (isFenceLine(line)) return true;
    if (trimmed.starts_with(u"|") || trimmed.ends_with(u"|")) return true;
    return matchesStructuralLinePattern(trimmed);
}

UnwrappedText unwrapHardWrappedParagraphs(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    for (std::size_t start = 0;;) {
        const auto end = text.find(u'\n', start);
        if (end == std::u16string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (lines.size() < 2) return {std::u16string(text), 0};

    UnwrappedText result{std::u16string(lines[0]), 0};
    result.text.reserve(text.size());
    bool insideFence = isFenceLine(lines[0]);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto line = lines[i];
        const auto previous = lines[i - 1];
        const bool fence = isFenceLine(line);
        const bool joins = !insideFence && !fence && !trimmedSpacesAndTabs(previous).empty() &&
                           !trimmedSpacesAndTabs(line).empty() && !isHardBreak(previous) &&
                           !isStructuralMarkdownLine(previous) && !isStructuralMarkdownLine(line);
        if (joins) {
            while (!result.text.empty() && isSpaceOrTab(result.text.back())) result.text.pop_back();
            result.text.push_back(u' ');
            result.text += trimmedSpacesAndTabs(line);
            ++result.removedBreaks;
        } else {
            result.text.push_back(u'\n');
            result.text += line;
        }
        if (fence) insideFence = !insideFence;
    }
    return result;
}

}  // namespace velquor::text
